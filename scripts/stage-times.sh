# How long each stage of a long command took, for `source` by that command:
#
#   stage NAME [WHAT]   ends the stage before, if any, starts the stage NAME
#                       and prints its heading: "== NAME: WHAT"
#   stage_times STATUS  ends the stage running, if any, and prints one line
#                       per stage with its seconds, and the total; with a
#                       STATUS other than 0, the last stage is marked failed
#
# Called from the command's exit trap with the exit status, stage_times also
# shows what a failed run got through, and where it stopped.
stage_names=()
stage_seconds=()
stage_name=
stage_start=$SECONDS
stages_start=$SECONDS

stage_end() {
    [ -n "$stage_name" ] || return 0
    stage_names+=("$stage_name")
    stage_seconds+=($((SECONDS - stage_start)))
    stage_name=
}

stage() {
    stage_end
    stage_name=$1
    stage_start=$SECONDS
    echo "== $1${2:+: $2}"
}

stage_times() {
    stage_end
    local last=$((${#stage_names[@]} - 1)) i
    echo "Time per stage (s):"
    for i in "${!stage_names[@]}"; do
        printf '  %-18s %6d%s\n' "${stage_names[$i]}" "${stage_seconds[$i]}" \
            "$([ "$1" -eq 0 ] || [ "$i" -ne "$last" ] || echo '  failed')"
    done
    printf '  %-18s %6d\n' total $((SECONDS - stages_start))
}
