#!/bin/sh
# Stands in for the web browser and the mail program in the tests: appends
# what it was asked to open, one line each, to the file named first.
log=$1
shift
printf '%s\n' "$*" >>"$log"
