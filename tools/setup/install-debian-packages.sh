#!/usr/bin/env bash
# Installs the Debian packages the build, the data builder and the tests need.
# As root it installs what is missing; otherwise it prints the exact command.
set -euo pipefail

packages=(
  cmake g++ make pkg-config git ca-certificates openssl bzip2 clang-format
  clang libclang-rt-14-dev
  libsqlite3-dev sqlite3 libopencc-dev libopencc-data opencc nlohmann-json3-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  unicode-data rime-data-wubi python3-jieba
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  xvfb xauth openbox fonts-noto-cjk xdotool wmctrl
  dpkg-dev file lintian appstream desktop-file-utils help2man librsvg2-bin x11-utils
)
# Node and npm may come from outside Debian on a developer machine; only ask
# Debian for them when they are absent.
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing Debian packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
else
  echo "Missing Debian packages. Run:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
