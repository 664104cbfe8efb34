# Installs Debian packages that are missing, for test.sh and demo.sh (sourced, not run).
# As root it uses apt-get, otherwise sudo when that works without a password; failing both it says
# exactly what to install.

ORVO_APT_UPDATED=${ORVO_APT_UPDATED:-no}

# The packages of the list that are not installed.
orvo_missing_packages() {
  local package missing=()
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  echo "${missing[@]:-}"
}

orvo_as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo -n "$@"
  else
    return 126
  fi
}

# orvo_install LABEL PACKAGE...: installs what is missing; returns nonzero when it could not.
orvo_install() {
  local label=$1
  shift
  local missing
  missing=$(orvo_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if ! orvo_as_root true 2>/dev/null; then
    echo "== $label: missing packages; install them with: sudo apt-get install $missing" >&2
    return 1
  fi
  case " $missing " in
    *":i386 "*)
      if ! dpkg --print-foreign-architectures | grep -qx i386; then
        orvo_as_root dpkg --add-architecture i386 || return 1
        ORVO_APT_UPDATED=no
      fi
      ;;
  esac
  echo "== $label: installing $missing"
  if [ "$ORVO_APT_UPDATED" != yes ]; then
    orvo_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq || return 1
    ORVO_APT_UPDATED=yes
  fi
  # shellcheck disable=SC2086
  orvo_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing \
    >/dev/null || return 1
}

# What each part of the work needs.
ORVO_BUILD_PACKAGES="cmake ninja-build g++"
ORVO_TEST_PACKAGES="libgtest-dev liblnk-dev libbfio-dev liblnk-utils"
ORVO_WINDOWS_PACKAGES="g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 wine wine32:i386"
ORVO_FUZZ_PACKAGES="clang libclang-rt-14-dev"
ORVO_BENCH_PACKAGES="valgrind strace time"
