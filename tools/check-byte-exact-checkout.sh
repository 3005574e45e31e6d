#!/usr/bin/env bash
# Checks out the recorded sessions and the fuzz inputs as a Windows clone with core.autocrlf
# would, and fails when any file differs from the committed bytes (.gitattributes keeps them
# exact; a rewritten line end breaks a session replay or changes a fuzz input).
set -euo pipefail
cd "$(dirname "$0")/.."
folders=(tests/data/sessions fuzz/corpus fuzz/regressions)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
git ls-files -z -- "${folders[@]}" |
    xargs -0 git -c core.autocrlf=true checkout-index --force --prefix="$out/" --
changed=0
total=0
while IFS= read -r -d '' file; do
    total=$((total + 1))
    if ! git cat-file blob ":$file" | cmp -s - "$out/$file"; then
        echo "rewritten by a Windows checkout: $file"
        changed=$((changed + 1))
    fi
done < <(git ls-files -z -- "${folders[@]}")
echo "Byte-exact checkout: $((total - changed)) of $total session and fuzz files unchanged"
[ "$changed" -eq 0 ]
