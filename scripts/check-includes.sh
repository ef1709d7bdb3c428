#!/usr/bin/env bash
# Fails when an include points the wrong way. The layers, lowest first:
#   base/ <- registry/, files/ <- form/ <- catalogue/, commands/ <- report/ <- app/
# each including only from those below it and itself; app/ composes them all.
# Only files named *_win.cpp or *_win.h include windows.h.
set -euo pipefail
cd "$(dirname "$0")/.."

may_include() {
  case $1 in
    base) echo '^base/' ;;
    registry) echo '^(base|registry)/' ;;
    files) echo '^(base|files)/' ;;
    form) echo '^(base|registry|files|form)/' ;;
    catalogue) echo '^(base|registry|files|form|catalogue)/' ;;
    commands) echo '^(base|registry|files|form|commands)/' ;;
    report) echo '^(base|registry|files|form|catalogue|commands|report)/' ;;
    app) echo '^(base|registry|files|form|catalogue|commands|report|app)/' ;;
  esac
}

status=0
for layer in base registry files form catalogue commands report app; do
  allowed=$(may_include "$layer")
  while IFS=: read -r file line text; do
    path=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$text")
    # A name found beside the including file is taken from there.
    if [ -f "$(dirname "$file")/$path" ]; then
      path=$(realpath -m --relative-to=. "$(dirname "$file")/$path")
    fi
    case $path in
      base/* | registry/* | files/* | form/* | catalogue/* | commands/* | report/* | app/*) ;;
      *) continue ;;
    esac
    if ! grep -Eq "$allowed" <<<"$path"; then
      echo "$file:$line: $layer/ must not include $path" >&2
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$layer" \
    --include='*.h' --include='*.cpp' || true)
done

while IFS=: read -r file line _; do
  case $file in
    *_win.cpp | *_win.h) ;;
    *) echo "$file:$line: only *_win.cpp and *_win.h files include windows.h" >&2; status=1 ;;
  esac
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]windows\.h[>"]' \
  base registry files form catalogue commands report app --include='*.h' --include='*.cpp' || true)

[ "$status" = 0 ] && echo "includes point down"
exit "$status"
