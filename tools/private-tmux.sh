# Sourced by scripts that drive a terminal program in tmux, on a tmux server of their own.
# start_private_tmux <work dir> <columns> <rows> <command>: a server on a socket in the
#   work dir runs the command through sh in one pane of that size, with a UTF-8 locale.
#   The pane shows "EXIT <code>" when the command ends and keeps its text.
# tmux_do <tmux arguments>: one command to that server.
# pane_text / pane_colours: the pane's text, without or with its SGR colours.
# wait_pane <extended regex> [seconds]: until the pane's text matches; 1 on time-out.
# stop_private_tmux: ends the server (the caller's exit trap calls it).
tmux_socket=

start_private_tmux() {
  tmux_socket="$1/tmux.socket"
  tmux -S "$tmux_socket" kill-server 2>/dev/null
  tmux -f /dev/null -S "$tmux_socket" new-session -d -x "$2" -y "$3" -e LANG=C.UTF-8 -e TERM=screen \
    "$4; echo \"EXIT \$?\"; sleep 1000"
}

tmux_do() { tmux -S "$tmux_socket" "$@"; }

pane_text() { tmux_do capture-pane -p; }
pane_colours() { tmux_do capture-pane -p -e; }

wait_pane() {
  deadline=$(( $(date +%s) + ${2:-10} ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    pane_text | grep -Eq -- "$1" && return 0
    sleep 0.2
  done
  return 1
}

stop_private_tmux() {
  [ -n "$tmux_socket" ] && tmux -S "$tmux_socket" kill-server 2>/dev/null
  tmux_socket=
}
