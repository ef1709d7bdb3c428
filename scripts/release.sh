#!/usr/bin/env bash
# Makes the release, the same bytes from every build of a commit:
#   scripts/release.sh          builds the commit checked out and writes
#                               dist/Brovantine-VERSION-win64.zip and dist/SHA256SUMS;
#                               refuses a tree with changed tracked files
#   scripts/release.sh --check  builds the working tree as it is twice, in fresh
#                               folders of different lengths with different time
#                               zones, locales and umasks, and compares the zips;
#                               writes nothing to dist/
# The zip holds Brovantine-VERSION/ with Brovantine.exe, brovantine-help.html,
# README.txt (docs/release-readme.txt), LICENSE.txt and, where docs/report.md
# exists, report.md. VERSION is the CMake project version; times are
# SOURCE_DATE_EPOCH, the last commit's time when unset. Installs what is
# missing first (scripts/setup.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

mode=release
case "${1:-}" in
  "") ;;
  --check) mode=check ;;
  -h | --help) sed -n '2,14p' "$0"; exit 0 ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac
[ $# -le 1 ] || { echo "usage: $0 [--check]" >&2; exit 2; }

refuse() {
  echo "release.sh: $*" >&2
  exit 1
}

# The commit names the release, so there must be one, and in release mode
# the tree must be that commit.
command -v git >/dev/null || refuse "git is not installed: a release is built from a git checkout"
if ! top=$(git rev-parse --show-toplevel 2>&1) || [ "$(cd "$top" && pwd -P)" != "$(pwd -P)" ]; then
  refuse "$root is not a git checkout (an exported tree?): a release is built from a commit"
fi
git rev-parse -q --verify 'HEAD^{commit}' >/dev/null || refuse "the checkout has no commit yet"
changed=$(git status --porcelain --untracked-files=no)
if [ "$mode" = release ] && [ -n "$changed" ]; then
  echo "release.sh: tracked files are changed; commit or restore them first" \
    "(scripts/release.sh --check builds a changed tree):" >&2
  echo "$changed" >&2
  exit 1
fi
commit=$(git rev-parse --short=12 HEAD)
if [ "$mode" = check ] && [ -n "$(git status --porcelain)" ]; then
  commit=$commit.dirty
fi
: "${SOURCE_DATE_EPOCH:=$(git log -1 --format=%ct)}"
[[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] || refuse "SOURCE_DATE_EPOCH is not a number of seconds: $SOURCE_DATE_EPOCH"
export SOURCE_DATE_EPOCH

"$root/scripts/setup.sh"
# Nothing from the caller's environment changes what the compilers do.
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS RCFLAGS CMAKE_TOOLCHAIN_FILE CMAKE_BUILD_TYPE

started=$(date +%s)
temporary=()
cleanup() {
  local dir
  for dir in "${temporary[@]}"; do rm -rf "$dir"; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Puts the sources into $1: the commit itself, or (--check) the working tree's
# tracked files as they are and the untracked ones git does not ignore.
put_sources() {
  mkdir "$1"
  if [ "$mode" = release ]; then
    git archive --format=tar HEAD
  else
    git ls-files -z --cached --others --exclude-standard |
      while IFS= read -r -d '' file; do
        if [ -e "$file" ] || [ -L "$file" ]; then printf '%s\0' "$file"; fi
      done | tar -c --null --no-recursion -T -
  fi | tar -x --no-same-permissions --no-same-owner -C "$1"
}

# Builds the program in the fresh folder $1 and makes $1/out/NAME.zip; sets
# version and zip.
make_zip() {
  local work=$1 src=$1/src build=$1/build stage folder file leak host
  mkdir -p "$work"
  put_sources "$src"
  if ! cmake -S "$src" -B "$build" --preset windows -DBRV_COMMIT="$commit" --log-level=WARNING \
    >"$work/configure.log" 2>&1; then
    cat "$work/configure.log" >&2
    refuse "configuring the Windows build failed"
  fi
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] ||
    refuse "the project version in CMakeLists.txt is \"$version\", not three numbers (like 2.4.0)"
  if ! nice cmake --build "$build" --target Brovantine >"$work/build.log" 2>&1; then
    tail -n 40 "$work/build.log" >&2
    refuse "building Brovantine.exe failed"
  fi

  folder=Brovantine-$version
  stage=$work/stage
  mkdir -p "$stage/$folder" "$work/out"
  cp "$build/Brovantine.exe" "$src/app/help/brovantine-help.html" "$stage/$folder/"
  # The two texts with Windows line ends, for any editor there.
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$src/docs/release-readme.txt" >"$stage/$folder/README.txt"
  sed -e 's/$/\r/' "$src/LICENSE" >"$stage/$folder/LICENSE.txt"
  if [ -f "$src/docs/report.md" ]; then cp "$src/docs/report.md" "$stage/$folder/"; fi

  # No trace of where, or by whom, it was built.
  for leak in "$src" "$build" "$work" "$root" "${HOME:-/nonexistent}/" "/$(id -un)/"; do
    if file=$(grep -rlaF -- "$leak" "$stage"); then
      refuse "$(echo "$file" | head -n1) holds \"$leak\""
    fi
  done
  # (A host name of two or three letters is as likely to be any word.)
  host=$(uname -n)
  if [ ${#host} -ge 4 ] && file=$(grep -rlawF -- "$host" "$stage"); then
    refuse "$(echo "$file" | head -n1) holds the host name \"$host\""
  fi

  # Fixed modes and times; entries named in order, the folder first; no extra
  # fields (-X). strip-nondeterminism then sets each entry's time to
  # SOURCE_DATE_EPOCH (in UTC) and the modes to 0644/0755 whatever zip made.
  chmod 0755 "$stage/$folder"
  chmod 0644 "$stage/$folder"/*
  touch -h -d "@$SOURCE_DATE_EPOCH" "$stage/$folder" "$stage/$folder"/*
  zip=$work/out/Brovantine-$version-win64.zip
  (cd "$stage" && find "$folder" -mindepth 1 -printf '%p\n' | LC_ALL=C sort |
    TZ=UTC0 zip -X -9 -q -@ "$zip" "$folder/")
  TZ=UTC0 strip-nondeterminism --type zip --timestamp "$SOURCE_DATE_EPOCH" "$zip" >/dev/null
}

# Names the first entry in which the zips $1 and $2 differ.
first_difference() {
  perl -MArchive::Zip=:ERROR_CODES -e '
    my @zips = map {
      my $zip = Archive::Zip->new;
      $zip->read($_) == AZ_OK or die "cannot read $_\n";
      [$zip->members]
    } @ARGV;
    my @fields = qw(fileName crc32 compressedSize uncompressedSize lastModFileDateTime
      externalFileAttributes compressionMethod bitFlag versionMadeBy cdExtraField localExtraField);
    my $count = @{$zips[0]} > @{$zips[1]} ? @{$zips[0]} : @{$zips[1]};
    for my $i (0 .. $count - 1) {
      my ($a, $b) = ($zips[0][$i], $zips[1][$i]);
      if (!$a || !$b) { printf "entry %d is only in %s\n", $i + 1, $a ? "the first" : "the second"; exit }
      for my $field (@fields) {
        next if $a->$field() eq $b->$field();
        printf "first difference: entry %s (%s)\n", $a->fileName(), $field; exit;
      }
    }
    print "the entries are the same; the archives differ in their headers\n";' "$1" "$2"
}

if [ "$mode" = release ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/brovantine-release.XXXXXX")
  temporary+=("$work")
  make_zip "$work"
  (cd "$work/out" && sha256sum "${zip##*/}" >SHA256SUMS)
  # Whole files only in dist/: written beside it, then renamed into it.
  mkdir -p "$root/build" "$root/dist"
  incoming=$(mktemp -d "$root/build/release.XXXXXX")
  temporary+=("$incoming")
  cp "$zip" "$work/out/SHA256SUMS" "$incoming/"
  chmod 0644 "$incoming"/*
  mv -f "$incoming/${zip##*/}" "$root/dist/"
  mv -f "$incoming/SHA256SUMS" "$root/dist/"
  echo "dist/${zip##*/}: $(stat -c %s "$root/dist/${zip##*/}") bytes, Brovantine.exe" \
    "$(stat -c %s "$work/stage/Brovantine-$version/Brovantine.exe") bytes, in $(($(date +%s) - started)) s"
  cat "$root/dist/SHA256SUMS"
  exit 0
fi

# --check: the second build on another file system where there is room
# (/dev/shm), in a folder of another length, after the first has gone.
first=$(mktemp -d "${TMPDIR:-/tmp}/brv-check.XXXXXX")
temporary+=("$first")
second_base=/var/tmp
if [ -w /dev/shm ] && [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -gt 1048576 ]; then
  second_base=/dev/shm
fi
second=$(mktemp -d "$second_base/brovantine-reproducibility-check-second.XXXXXX")
temporary+=("$second")
(
  umask 022
  export TZ=UTC0 LANG=C.UTF-8 LC_ALL=C.UTF-8
  make_zip "$first/work"
  mv "$zip" "$first/first.zip"
  echo "$version" >"$first/version"
  rm -rf "$first/work/src" "$first/work/build"
)
echo "first build (TZ=UTC0, C.UTF-8, umask 022) in $(($(date +%s) - started)) s"
(
  umask 077
  export TZ='<+1345>-13:45' LANG=C LC_ALL=C
  make_zip "$second/w"
  mv "$zip" "$second/second.zip"
  rm -rf "$second/w/src" "$second/w/build"
)
echo "second build (TZ=+13:45, C, umask 077) in $(($(date +%s) - started)) s"
if ! cmp "$first/first.zip" "$second/second.zip"; then
  first_difference "$first/first.zip" "$second/second.zip" >&2 || true
  if command -v diffoscope >/dev/null; then
    diffoscope "$first/first.zip" "$second/second.zip" >&2 || true
  fi
  kept=$root/build/reproducibility
  rm -rf "$kept"
  mkdir -p "$kept"
  mv "$first/first.zip" "$second/second.zip" "$kept/"
  echo "release.sh: the two builds differ (the zips are in build/reproducibility/)" >&2
  exit 1
fi
size=$(stat -c %s "$first/first.zip")
echo "the same bytes from both builds: $size bytes," \
  "SHA-256 $(sha256sum "$first/first.zip" | cut -d' ' -f1) (product version $(cat "$first/version")+g$commit)"
[ "$size" -lt 600000 ] || { echo "release.sh: the zip is 600,000 bytes or more" >&2; exit 1; }
