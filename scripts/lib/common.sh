# Shared by the scripts: the project root and installing missing Debian packages.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Installs, with apt-get, those of the named Debian packages that are not installed yet.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}" >&2
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Packages every build needs.
BUILD_PACKAGES=(cmake g++ ninja-build libgtest-dev qt6-base-dev fonts-dejavu-core libsqlite3-dev libre2-dev nlohmann-json3-dev libcli11-dev pkg-config libgraphviz-dev)

# Configures and builds one build folder: configure_and_build FOLDER [CMAKE ARGS...]
configure_and_build() {
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$ROOT/$dir" -j "$(nproc)"
}
