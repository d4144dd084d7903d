#!/usr/bin/env bash
# Non-blank lines of test code against non-blank lines of the game and its
# asset tool: .cpp .h .vert .frag .sh .bash files under tests/ and tools/tests/
# against base/ app/ gpu/ scene/ render/ play/ Shader/ tools/assetgen/, and the
# tests' share of both together. bench/ and scripts/ count on neither side.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.vert' -o -name '*.frag' -o -name '*.sh' -o -name '*.bash' \) \
    -exec grep -hv '^[[:space:]]*$' {} + | wc -l
}
tests=$(count tests tools/tests)
product=$(count base app gpu scene render play Shader tools/assetgen)
echo "tests:   $tests non-blank lines (tests/, tools/tests/)"
echo "product: $product non-blank lines (base/ app/ gpu/ scene/ render/ play/ Shader/ tools/assetgen/)"
awk -v t="$tests" -v p="$product" 'BEGIN { printf "share:   %.2f of all code is tests\n", t / (t + p) }'
