# Installs the Debian packages that the named parts of the build need, when missing.
# Sourced by tools/demo and tools/test; needs root (or sudo) only when something is missing.

tarvek_packages() {
  local part pkgs=()
  for part in "$@"; do
    case "$part" in
      build) pkgs+=(cmake ninja-build g++ make) ;;
      tests) pkgs+=(libgtest-dev util-linux) ;;
      gui) pkgs+=(qt6-base-dev qt6-svg-dev libgl-dev) ;;
      sanitizers) pkgs+=(clang libclang-rt-14-dev) ;;
      windows) pkgs+=(g++-mingw-w64-x86-64-posix googletest wine64) ;;
    esac
  done
  printf '%s\n' "${pkgs[@]}"
}

tarvek_install() {
  local missing=() pkg
  for pkg in $(tarvek_packages "$@"); do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
}
