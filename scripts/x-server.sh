# Sourced by the scripts that need X servers of their own (the monitor and
# pointer tests): each server takes the first free display, as the server
# itself finds it (-displayfd), so that lanes started at once never race
# for a number.

# wendrel_x_start COMMAND [ARGS...]: starts the X server; sets
# WENDREL_X_DISPLAY (":N") and WENDREL_X_PID, or fails after 10 s.
wendrel_x_start() {
  local out
  out=$(mktemp)
  "$@" -displayfd 3 3>"$out" >/dev/null 2>&1 &
  WENDREL_X_PID=$!
  for _ in $(seq 200); do
    if grep -q '^[0-9][0-9]*$' "$out" 2>/dev/null; then
      WENDREL_X_DISPLAY=:$(cat "$out")
      rm -f "$out"
      return 0
    fi
    kill -0 "$WENDREL_X_PID" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$out"
  kill "$WENDREL_X_PID" 2>/dev/null || true
  echo "the X server $1 did not start" >&2
  return 1
}

# wendrel_x_stop PID: ends an X server started above.
wendrel_x_stop() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
