# Installs, with apt-get, the Debian packages that building, testing and
# running Travenel need, when any of them is missing. Sourced by run.sh and
# test.sh; works as root or through sudo.
# libqcustomplot: a peer plotting widget the chart's benchmark measures itself against.
# poppler-utils: the tests read the PDF pictures back.
# locales: the sources from which the tests generate a German locale.
TRAVENEL_PACKAGES=(cmake make g++ qt6-base-dev qt6-svg-dev libgtest-dev libbenchmark-dev fonts-wine
                   xvfb xauth imagemagick xdotool libqcustomplot-dev libqcustomplot2.1-qt6
                   poppler-utils locales)

travenel_install_deps() {
  local missing=()
  local p
  for p in "${TRAVENEL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A fresh machine may have no package lists yet.
  $sudo apt-get install -y --no-install-recommends "${missing[@]}" ||
    { $sudo apt-get update && $sudo apt-get install -y --no-install-recommends "${missing[@]}"; }
}
