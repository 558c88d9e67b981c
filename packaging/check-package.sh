#!/usr/bin/env bash
# Checks the packages in the build folder as Debian and freedesktop tools see
# them, then runs the programs from the unpacked .deb: lexomir-cli through its
# usr/bin link, and the window under Xvfb with a HOME of its own, which must
# keep its settings there, carry the class its desktop entry names, and write
# nothing under usr/. The portable archive's lexomir-cli must answer as well.
#   packaging/check-package.sh [build folder]
set -euo pipefail

# Inside Xvfb: start the window, read its class, close it as a desktop would.
if [ "${1:-}" = --inside-xvfb ]; then
  program=$2 class_file=$3
  shift 3
  # The program may run as another user, who must reach this display.
  chmod a+r "$XAUTHORITY"
  "$@" "$program" &
  pid=$!
  listing=
  for _ in $(seq 100); do
    listing=$(xwininfo -root -tree | grep '"Lexomir https' || true)
    [ -n "$listing" ] && break
    sleep 0.1
  done
  [ -n "$listing" ] || { echo "the window did not appear" >&2; kill "$pid"; exit 1; }
  # xwininfo shows the class as ("instance" "class").
  sed -n 's/.*("[^"]*" "\([^"]*\)").*/\1/p' <<<"$listing" | head -n1 >"$class_file"
  sleep 1
  kill -TERM "$pid"
  wait "$pid"
  exit
fi

build=${1:-build}
started=$SECONDS
debs=("$build"/lexomir_*.deb)
archives=("$build"/lexomir-*.tar.gz)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "expected one lexomir_*.deb in $build" >&2; exit 1; }
[ ${#archives[@]} -eq 1 ] && [ -f "${archives[0]}" ] || { echo "expected one lexomir-*.tar.gz in $build" >&2; exit 1; }
deb=${debs[0]}
fail() { echo "FAILED: $*" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
root=$scratch/root home=$scratch/home portable=$scratch/portable
mkdir "$root" "$home" "$portable"

echo "== lintian $(basename "$deb")"
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" || fail "lintian"
dpkg-deb -x "$deb" "$root"
desktop=$(echo "$root"/usr/share/applications/*.desktop)
echo "== desktop-file-validate $(basename "$desktop")"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli"

echo "== lexomir-cli pinyin zhong, through usr/bin"
"$root/usr/bin/lexomir-cli" pinyin zhong | grep -q $'\t中\t' || fail "lexomir-cli found no 中"
echo "== lexomir-cli idiom 百戰不＝, through OpenCC's installed t2s.json"
"$root/usr/bin/lexomir-cli" idiom 百戰不＝ | grep -q $'\t百战不殆\t' || fail "lexomir-cli found no 百战不殆"
echo "== lexomir-cli handwriting, over the shipped Strokes.db"
echo '[[[10,50],[50,51],[90,50]]]' | "$root/usr/bin/lexomir-cli" handwriting | grep -q '^一 ' ||
  fail "lexomir-cli handwriting did not find 一"
[ -s "$root/usr/lib/lexomir/dat/ARPHICPL.TXT" ] || fail "Strokes.db's licence is not beside it"
grep -q '^License: Arphic-1999$' "$root/usr/share/doc/lexomir/copyright" ||
  fail "the copyright file lacks the Arphic Public License"
tar -xzf "${archives[0]}" -C "$portable"
"$portable"/*/bin/lexomir-cli pinyin zhong | grep -q $'\t中\t' || fail "the archive's lexomir-cli found no 中"

echo "== the window from the unpacked tree, HOME=$home"
# Installed files belong to root and no user writes them; as root, the
# program runs without the capabilities that would override that.
chmod -R a-w "$root/usr"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  if setpriv --bounding-set=-dac_override,-dac_read_search true 2>/dev/null; then
    as_user=(setpriv --bounding-set=-dac_override,-dac_read_search)
  else
    # Without CAP_SETPCAP the bounding set stays; an ordinary user does as well.
    chmod 755 "$scratch" && chown nobody "$home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
fi
before=$(cd "$root" && find . -printf '%p %s %T@\n' | sort)
env -u XDG_CONFIG_HOME HOME="$home" xvfb-run -a -f "$scratch/Xauthority" -s "-screen 0 1024x768x24" \
  "$0" --inside-xvfb "$root/usr/bin/lexomir" "$scratch/class" "${as_user[@]}" ||
  fail "the window did not run"
after=$(cd "$root" && find . -printf '%p %s %T@\n' | sort)
[ "$before" = "$after" ] || fail "the window wrote under usr/: $(diff <(echo "$before") <(echo "$after"))"
ini=$home/.config/lexomir/set.ini
[ -f "$ini" ] || fail "no $ini"
for key in left top width height state GridXinHua GridChengYu; do
  grep -q "^$key=-\?[0-9]\+$" "$ini" || fail "no $key in $ini"
done
# The history and word list beside the settings, never in the installed dat/.
[ -f "$home/.config/lexomir/lookups.db" ] || fail "no lookups.db beside $ini"
class=$(cat "$scratch/class")
wanted=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ "$class" = "$wanted" ] || fail "the window's class is '$class', the desktop entry names '$wanted'"
echo "settings and lookups.db in ~/.config/lexomir, window class $class"
echo "package checks passed in $((SECONDS - started)) s"
