#!/usr/bin/env bash
# Builds the release archive dist/kovar3-<version>.zip, and dist/SHA256SUMS beside it:
#   x64/kovar3.dll, x86/kovar3.dll     the two builds
#   kovar3.tlb                         the type library alone
#   install.cmd, uninstall.cmd, check.vbs, README.txt    from package/
#   CHANGES.md, docs/, examples/       every file there, whatever has been added
# The version comes from the file VERSION, and CHANGES.md must have an entry for it. Text files
# get Windows line ends. Prints the archive's path.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(head -n1 VERSION)
if ! grep -qx "## $version" CHANGES.md; then
    echo "CHANGES.md has no entry \"## $version\" for the version in VERSION" >&2
    exit 1
fi
bash scripts/setup.sh
bash scripts/build.sh >/dev/null

name=kovar3-$version
stage=build/package/$name
rm -rf "$stage"
mkdir -p "$stage/x64" "$stage/x86" dist

# Text files as Windows tools expect them (cmd.exe and the VBA importer need CR LF).
copy_file() {  # source, destination
    mkdir -p "$(dirname "$2")"
    case "$1" in
        *.cmd | *.bat | *.vbs | *.js | *.ps1 | *.bas | *.txt | *.md | *.ini | *.reg)
            sed -e 's/\r*$/\r/' "$1" >"$2" ;;
        *) cp "$1" "$2" ;;
    esac
}
cp build/x64/kovar3.dll "$stage/x64/kovar3.dll"
cp build/x86/kovar3.dll "$stage/x86/kovar3.dll"
# The 32-bit build's library (SYS_WIN32), the form that tools reading .tlb files expect; both
# hold the same types.
cp build/x86/generated/kovar3.tlb "$stage/kovar3.tlb"
for f in install.cmd uninstall.cmd check.vbs; do copy_file "package/$f" "$stage/$f"; done
sed -e "s/@VERSION@/$version/g" package/README.txt >"$stage/README.txt.in"
copy_file "$stage/README.txt.in" "$stage/README.txt"
rm "$stage/README.txt.in"
copy_file CHANGES.md "$stage/CHANGES.md"
while IFS= read -r -d '' f; do copy_file "$f" "$stage/$f"; done < <(find docs examples -type f -print0)

# The same sources give the same archive: fixed times and a sorted file list.
export TZ=UTC
stamp=$(git log -1 --format=%cd --date=format-local:%Y%m%d%H%M.%S 2>/dev/null ||
    date +%Y%m%d%H%M.%S)
find "$stage" -exec touch -t "$stamp" {} +
rm -f "dist/$name.zip"
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | zip -q -X -D "../../../dist/$name.zip" -@)
(cd dist && sha256sum "$name.zip" >SHA256SUMS)
echo "dist/$name.zip"
