#!/usr/bin/env bash
# The built program under Xvfb and openbox, closed with SIGTERM as a desktop
# closes it: the first start shows the frame at 10,10 around the least client
# area at which every control shows, five start/close cycles leave that place
# in dat/set.ini, a window closed maximised with taller grids comes back
# maximised with those grids, and one resized, maximised and closed returns to
# the size it was given when it is restored after the next start.
#   tests/main/program_under_xvfb.sh build/lexomir
set -euo pipefail
program=$(realpath "$1")
[ -n "${INSIDE_XVFB:-}" ] || INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"

folder=$(mktemp -d)
wm=
trap '[ -z "$wm" ] || kill "$wm" || true; rm -rf "$folder"' EXIT
cp "$program" "$folder/lexomir"
mkdir "$folder/dat"
ini=$folder/dat/set.ini
fail() { echo "FAILED: $*" >&2; cat "$ini" "$folder/stderr" >&2 || true; exit 1; }
eventually() { for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done; return 1; }

# It maximises the windows named "maximised", as a click on the title bar would.
echo '<openbox_config xmlns="http://openbox.org/3.4/rc"><applications><application
  name="maximised"><maximized>yes</maximized></application></applications></openbox_config>' \
  >"$folder/openbox.xml"
start_openbox() {
  openbox --sm-disable --config-file "$folder/openbox.xml" 2>/dev/null &
  wm=$!
}
# It lists its clients once it has started up. Under a loaded machine it once
# found no display yet and quit: one that has quit is started again.
openbox_up() {
  kill -0 "$wm" 2>/dev/null || start_openbox
  xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q "window id"
}
start_openbox
eventually openbox_up || fail "no openbox"

value() { sed -n "s/^$1=//p" "$ini"; }
saved() { echo "$(value left) $(value top) $(value width) $(value height) $(value state)"; }
framed_window() {
  for window in $(xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*'); do
    xprop -id "$window" _NET_WM_PID | grep -q "= $pid\$" &&
      xprop -id "$window" _NET_FRAME_EXTENTS | grep -q = && return 0
  done
  return 1
}
# The frame's corner and the client area's size: "left top width height".
shown() {
  local info extents
  info=$(xwininfo -id "$window")
  extents=($(xprop -id "$window" _NET_FRAME_EXTENTS | grep -o '[0-9]\+'))
  field() { sed -n "s/.*$1: *//p" <<<"$info"; }
  local x=$(field 'Absolute upper-left X') y=$(field 'Absolute upper-left Y')
  echo "$((x - extents[0])) $((y - extents[2])) $(field Width) $(field Height)"
}
shows() { [ "$(shown)" = "$1" ]; }
maximised() {
  xprop -id "$window" _NET_WM_STATE | grep -q 'MAXIMIZED_VERT.*MAXIMIZED_HORZ\|MAXIMIZED_HORZ.*MAXIMIZED_VERT'
}
start() {
  RESOURCE_NAME=${1:-lexomir} "$folder/lexomir" 2>>"$folder/stderr" &
  pid=$!
  eventually framed_window || fail "the window did not appear"
}
close() { kill -TERM "$pid"; wait "$pid" || fail "the program ended with status $?"; }

start
first=$(shown)
read -r _ _ least_width least_height <<<"$first"
[ "${first% * *}" = "10 10" ] && [ "$least_width" -gt 400 ] && [ "$least_height" -gt 400 ] ||
  fail "the first start shows $first"
close
for cycle in 2 3 4 5 6; do
  [ "$(saved)" = "$first 0" ] || fail "cycle $((cycle - 1)) wrote $(saved)"
  start
  eventually shows "$first" || fail "cycle $cycle shows $(shown)"
  close
done
echo "first start: client area ${least_width}x${least_height}; drift after five cycles:" \
  "left $(($(value left) - 10)) px, top $(($(value top) - 10)) px"

# As closing after dragging both grids taller leaves the file. openbox
# maximises the first window, the program itself the next.
sed -i 's/^GridXinHua=.*/GridXinHua=394/; s/^GridChengYu=.*/GridChengYu=200/' "$ini"
for how in maximised ""; do
  start $how
  eventually maximised || fail "${how:-restored}: not maximised but $(shown)"
  close
  # The taller grid asks for a taller least size, which the normal size keeps.
  [ "$(value left) $(value top) $(value width) $(value state)" = "10 10 $least_width 2" ] &&
    [ "$(value height)" -gt "$least_height" ] &&
    [ "$(value GridXinHua) $(value GridChengYu)" = "394 200" ] ||
    fail "${how:-restored}: wrote $(saved) $(value GridXinHua) $(value GridChengYu)"
done

# The user gives the window a size, maximises it and closes it; restored
# after the next start, it has that size again.
sed -i 's/^state=.*/state=0/; s/^GridXinHua=.*/GridXinHua=160/' "$ini"
given="10 10 $((least_width + 111)) $((least_height + 97))"
start
xdotool windowsize "$window" $((least_width + 111)) $((least_height + 97))
eventually shows "$given" || fail "resized, it shows $(shown)"
sleep 1  # as a user would, before the next click
wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
eventually maximised || fail "not maximised but $(shown)"
close
[ "$(saved)" = "$given 2" ] || fail "closed maximised, it wrote $(saved)"
start
eventually maximised || fail "not maximised again but $(shown)"
wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
eventually shows "$given" || fail "restored, it shows $(shown) instead of $given"
close
cat "$ini"
