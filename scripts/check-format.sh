#!/usr/bin/env bash
# Every C and C++ file the repository tracks is as clang-format (the .clang-format at the root)
# would write it. Lists the files that are not; exits 1 if there are any. --fix rewrites them.
set -uo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format) || {
  echo "check-format: clang-format is not installed (scripts/setup-machine.sh installs it)" >&2
  exit 1
}
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
if [[ ${1:-} == --fix ]]; then
  "$format" -i "${files[@]}"
  exit
fi
mapfile -t unformatted < <("$format" --dry-run "${files[@]}" 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning:.*/\1/p' | sort -u)
if ((${#unformatted[@]})); then
  printf 'check-format: not formatted: %s\n' "${unformatted[@]}" >&2
  echo "check-format: run 'bash scripts/check-format.sh --fix'" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
