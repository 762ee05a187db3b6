# What the test command reads from a stage's CTest results, and which skips it accepts.
# Sourced by run-tests.sh (and its own test); needs wine-arch.sh sourced first.

# Counts and skip reasons from CTest's JUnit file: "ran passed failed skipped", then one line
# per skipped test with the reason our Wine runner gave ("wine-run: skipped: REASON").
junit_summary() {
  awk '
    function unescape(s) {
      gsub(/&lt;/, "<", s); gsub(/&gt;/, ">", s); gsub(/&quot;/, "\"", s); gsub(/&amp;/, "\\&", s)
      return s
    }
    /<testcase / {
      match($0, /status="[a-z]*"/)
      status = substr($0, RSTART + 8, RLENGTH - 9)
      if (status == "notrun") { skipped++; reason = "no reason given" }
      else { ran++; if (status == "fail") failures++ }
    }
    status == "notrun" && /wine-run: skipped: / && reason == "no reason given" {
      reason = unescape(substr($0, index($0, "wine-run: skipped: ") + 19))
    }
    /<\/testcase>/ { if (status == "notrun") reasons[++n] = reason; status = "" }
    END {
      printf "%d %d %d %d\n", ran + 0, ran - failures, failures + 0, skipped + 0
      for (i = 1; i <= n; i++) print reasons[i]
    }' "$1"
}

# The names of the failed tests in CTest's JUnit file, comma-separated, so a run's table says
# which tests to look at even when only its end is kept.
junit_failed_names() {
  awk '
    /<testcase / && /status="fail"/ {
      match($0, /name="[^"]*"/)
      names = names (names == "" ? "" : ", ") substr($0, RSTART + 6, RLENGTH - 7)
    }
    END { print names }' "$1"
}

# wine_skip_accepted ARCH REASON: a Wine test of the ARCH (win32 or win64) build may be skipped
# only where the machine cannot run it: no Wine at all, or no 32-bit code for a 32-bit prefix.
wine_skip_accepted() {
  local arch=$1 reason=$2
  if [[ $reason == 'Wine is not installed' ]]; then
    ! ov_wine_installed
  else
    [[ $arch == win32 && $reason == "$ov_wine_no_32bit_reason"* ]]
  fi
}
