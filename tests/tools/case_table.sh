# Sourced by the program's tests: a table of command lines, and the scratch folder they run in.
# run_cases runs "$q" once per line of its standard input,
#   exit code | what the output holds (several texts separated by "~") | the command line
# and calls fail (the caller's) for each exit code or text that differs.
run_cases() {
  local code expected args status text texts
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

# A scratch folder, removed on exit, as the current folder; $dir names it.
enter_scratch_folder() {
  dir=$(mktemp -d)
  trap 'rm -rf "$dir"' EXIT
  cd "$dir" || exit 1
}
