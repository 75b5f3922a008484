# Sourced by the scripts that run the quillane program over tables of cases, with the program's path:
# sets q to it and moves into a new folder that goes when the script ends; messages are in English
# unless a case asks for another language. fail records a failure; run_cases reads its table from
# standard input, one case a line:
# exit code | what the output holds (several texts separated by "~") | the command line.
q="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
export QUILLANE_LANGUAGE=en
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
run_cases() {
  while IFS='|' read -r code expected args; do
    [ -z "$code" ] && continue
    eval "set -- $args"
    "$q" "$@" >out.txt 2>&1
    status=$?
    [ "$status" = "$code" ] || fail "'$args' exited $status, not $code: $(cat out.txt)"
    IFS='~' read -ra texts <<<"$expected"
    for text in "${texts[@]}"; do
      grep -qF -- "$text" out.txt || fail "'$args' did not say '$text': $(cat out.txt)"
    done
  done
}
