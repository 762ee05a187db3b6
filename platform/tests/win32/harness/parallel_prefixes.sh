#!/usr/bin/env bash
# Usage: parallel_prefixes.sh RUNNER
# Two runs at the same time get separate prefixes and displays: each writes its own name to the
# same registry value, waits until the other has written too, and must still read its own.
set -uo pipefail
runner=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

run_one() {
  local self=$1 other=$2
  "$runner" --timeout 90 --display -- "
    echo \"\$WINEPREFIX \$DISPLAY\" >'$dir/$self.env'
    wine reg add 'HKCU\\Software\\OvHarness' /v Owner /d $self /f >/dev/null || exit 3
    touch '$dir/$self.written'
    for i in \$(seq 6000); do [ -e '$dir/$other.written' ] && break; sleep 0.01; done
    [ -e '$dir/$other.written' ] || exit 4
    wine reg query 'HKCU\\Software\\OvHarness' /v Owner | grep -q 'REG_SZ *$self\\s*\$' || exit 5"
}

run_one a b &
pid_a=$!
run_one b a &
pid_b=$!
wait "$pid_a"
rc_a=$?
wait "$pid_b"
rc_b=$?
((rc_a == 77 || rc_b == 77)) && exit 77
if ((rc_a != 0 || rc_b != 0)); then
  echo "runs failed: a=$rc_a b=$rc_b (3: reg add, 4: the other never wrote, 5: value not ours)" >&2
  exit 1
fi
read -r prefix_a display_a <"$dir/a.env"
read -r prefix_b display_b <"$dir/b.env"
if [[ $prefix_a == "$prefix_b" || $display_a == "$display_b" ]]; then
  echo "runs shared a prefix or display: $prefix_a $display_a / $prefix_b $display_b" >&2
  exit 1
fi
