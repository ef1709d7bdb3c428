#!/usr/bin/env bash
# Runs a command as a newcomer would on a fresh minimal Debian 12 machine: in a
# root made on the spot (debootstrap's minbase variant with git), in a clone of
# this working tree's HEAD, with no environment but HOME and PATH.
#   scripts/fresh-root.sh [--fetch FILE]... COMMAND [ARGS...]
#     e.g. scripts/fresh-root.sh scripts/test.sh
#          scripts/fresh-root.sh --fetch shot.png scripts/run.sh --demo --screenshot shot.png
# COMMAND runs in the clone; --fetch copies FILE (relative to the clone) to the
# current folder afterwards. The root is made from the mirror that this
# machine's apt sources name. The base root is kept in $BRV_ROOT_CACHE
# (default /var/cache/brovantine) for later runs, with the packages apt
# downloads there; each run works on a copy of it, removed afterwards.
# Needs root; installs debootstrap if missing. Exits with COMMAND's status.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
suite=bookworm
cache=${BRV_ROOT_CACHE:-/var/cache/brovantine}
fetch=()
while [ $# -gt 0 ]; do
  case "$1" in
    --fetch)
      [ $# -ge 2 ] || { echo "--fetch needs a file name" >&2; exit 2; }
      fetch+=("$2")
      shift 2
      ;;
    -h | --help) sed -n '2,14p' "$0"; exit 0 ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--fetch FILE]... COMMAND [ARGS...]" >&2; exit 2; }
if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-root.sh: making a root and mounting into it needs root" >&2
  exit 2
fi

fail() {
  echo "fresh-root.sh: cannot make the fresh root: $*" >&2
  exit 3
}

# The first mirror of Debian's main archive that apt is configured with: a
# one-line "deb" entry or a deb822 stanza whose suites hold $suite itself.
find_mirror() {
  local file
  if [ -f /etc/apt/sources.list ]; then
    awk -v suite="$suite" '$1 == "deb" {
      i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
      if ($(i + 1) == suite) { print $i; exit } }' /etc/apt/sources.list
  fi
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v suite="$suite" '
      function flush() { if (deb && has_suite && uri != "") { print uri; exit } }
      /^[ \t]*$/ { flush(); deb = 0; has_suite = 0; uri = ""; next }
      /^[ \t]*#/ { next }
      tolower($1) == "types:" { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1 }
      tolower($1) == "uris:" { uri = $2 }
      tolower($1) == "suites:" { for (i = 2; i <= NF; i++) if ($i == suite) has_suite = 1 }
      tolower($1) == "enabled:" && tolower($2) == "no" { deb = 0 }
      END { flush() }' "$file"
  done
}
mirror=$(find_mirror | head -n1)
[ -n "$mirror" ] || fail "no apt source names a mirror for $suite (see /etc/apt/sources.list*)"

if ! command -v debootstrap >/dev/null; then
  echo "Installing debootstrap" >&2
  { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends debootstrap >/dev/null; } || fail "debootstrap could not be installed"
fi

base=$cache/$suite-minbase
archives=$cache/archives
mkdir -p "$cache" "$archives/partial"

# Everything mounted below a root, deepest first; and the processes whose
# root is inside it.
mounts_under() { findmnt -rn -o TARGET | awk -v dir="$1" 'index($0, dir "/") == 1' | sort -r; }
processes_in() {
  local link pid
  for link in /proc/[0-9]*/root; do
    pid=${link#/proc/}
    pid=${pid%/root}
    case "$(readlink "$link" 2>/dev/null)" in "$1" | "$1"/*) echo "$pid" ;; esac
  done
}
release() {
  local dir=$1 pid target
  for pid in $(processes_in "$dir"); do kill "$pid" 2>/dev/null || true; done
  for _ in $(seq 50); do
    [ -z "$(processes_in "$dir")" ] && break
    sleep 0.1
  done
  for pid in $(processes_in "$dir"); do kill -9 "$pid" 2>/dev/null || true; done
  for target in $(mounts_under "$dir"); do umount -l "$target" 2>/dev/null || true; done
}
remove_root() {
  local dir=$1
  release "$dir"
  # Never remove through a mount still in place (that would be the host's /dev).
  if [ -n "$(mounts_under "$dir")" ]; then
    echo "fresh-root.sh: $dir still has mounts; left in place" >&2
    return 1
  fi
  rm -rf --one-file-system "$dir"
}
mount_into() {
  mount -t proc proc "$1/proc"
  mount --rbind /dev "$1/dev"
  mount --make-rslave "$1/dev"
  mount --bind "$archives" "$1/var/cache/apt/archives"
}
in_root() {
  env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /usr/sbin/chroot "$@"
}

work=
program=
cleanup() {
  [ -n "$program" ] && kill -- "-$program" 2>/dev/null || true
  [ -n "$work" ] && [ -d "$work" ] && remove_root "$work"
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# What the base holds; a base made otherwise is made again.
recipe="$suite minbase, git without recommended packages"
if [ "$(cat "$base/.brovantine-base" 2>/dev/null)" != "$recipe" ]; then
  echo "== making the base root ($suite minbase with git, from $mirror)"
  work=$(mktemp -d "$cache/base.XXXXXX")
  debootstrap --variant=minbase --cache-dir="$archives" "$suite" "$work" "$mirror" \
    >"$work.log" 2>&1 || { tail -n 20 "$work.log" >&2; fail "debootstrap from $mirror failed (log: $work.log)"; }
  mount_into "$work"
  in_root "$work" apt-get update -qq >/dev/null || fail "apt-get update in the root failed"
  in_root "$work" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends git \
    >>"$work.log" 2>&1 || fail "installing git in the root failed (log: $work.log)"
  release "$work"
  # Leave no package lists: the newcomer's apt-get update fetches them.
  rm -rf "$work"/var/lib/apt/lists/* "$work"/var/cache/apt/*.bin
  echo "$recipe" >"$work/.brovantine-base"
  [ -d "$base" ] && remove_root "$base"
  mv "$work" "$base"
  rm -f "$work.log"
  work=
fi

work=$(mktemp -d /var/tmp/brovantine-root.XXXXXX)
cp -a "$base/." "$work/"
rm -f "$work/.brovantine-base"
git -C "$here" bundle create "$work/root/head.bundle" HEAD 2>/dev/null
mount_into "$work"
in_root "$work" git -c advice.detachedHead=false clone -q /root/head.bundle /root/brovantine
rm -f "$work/root/head.bundle"

echo "== in a fresh root ($work): $*"
start=$(date +%s)
set +e
# In a session of its own, so that whatever it leaves running can be ended by
# the group's id; anything else still running in the root, by its own id.
setsid env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /usr/sbin/chroot "$work" /bin/sh -c 'cd /root/brovantine && exec "$@"' fresh "$@" </dev/null &
program=$!
wait "$program"
status=$?
set -e
program=
echo "== finished with status $status in $(($(date +%s) - start)) s"
for file in "${fetch[@]}"; do
  cp "$work/root/brovantine/$file" . || status=1
done
exit "$status"
