#!/bin/sh
# Installer of vahaPLX: this script followed by a gzip tar archive of the program and its files.
#
#   setupvahaplx.run /DIR="target directory" [/NOSTART]
#
# Installs the program and its files into the target directory, gives the program its build
# time as modification time (the update check compares it with the published one) and starts
# it in the current directory, unless /NOSTART is given. A file of a template folder that the
# site has changed is kept beside the new one as NAME.bak. If the installation fails, the
# program already in the target directory is started again.
#   setupvahaplx.run --build-epoch   prints the build time (seconds since 1970, even)
set -eu
BUILD_EPOCH=@BUILD_EPOCH@
PROGRAM=@PROGRAM@

target=
start=yes
for arg in "$@"; do
    case $arg in
    /DIR=* | /dir=*) target=${arg#*=} ;;
    /NOSTART | /nostart) start=no ;;
    --build-epoch)
        echo "$BUILD_EPOCH"
        exit 0
        ;;
    *)
        echo "setupvahaplx: unknown argument: $arg" >&2
        exit 2
        ;;
    esac
done
# A caller that passed the quotes on.
target=${target#\"}
target=${target%\"}
if [ -z "$target" ]; then
    echo "usage: $0 /DIR=\"target directory\" [/NOSTART]" >&2
    exit 2
fi

start_program() {
    if [ "$start" = yes ] && [ -x "$target/$PROGRAM" ]; then
        nohup "$target/$PROGRAM" </dev/null >/dev/null 2>&1 &
    fi
}

stage=
finish() {
    status=$?
    [ -n "$stage" ] && rm -rf "$stage"
    if [ "$status" -ne 0 ]; then
        echo "setupvahaplx: installation into $target failed" >&2
        start_program
    fi
    exit "$status"
}
trap finish EXIT

mkdir -p "$target"
target=$(cd "$target" && pwd)
# Unpacked beside the target, so that every file is put in place by a rename (a running
# program's file is replaced, not overwritten).
stage=$(mktemp -d "$target/.setupvahaplx.XXXXXX")
payload=$(awk '/^__PAYLOAD__$/ { print NR + 1; exit }' "$0")
tail -n +"$payload" "$0" | gzip -dc | tar -xf - -C "$stage"

(cd "$stage" && find . -type f) | while IFS= read -r file; do
    file=${file#./}
    dest=$target/$file
    mkdir -p "$(dirname "$dest")"
    if [ "$file" != "$PROGRAM" ] && [ -f "$dest" ] && ! cmp -s "$stage/$file" "$dest"; then
        cp -p "$dest" "$dest.bak"
    fi
    mv -f "$stage/$file" "$dest"
done
touch -m -d "@$BUILD_EPOCH" "$target/$PROGRAM"

start_program
exit 0
__PAYLOAD__
