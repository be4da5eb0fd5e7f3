# The Debian packages the program, its tests and its benchmark need; sourced by ./run, ./test and ./bench.
BRACKENLEAD_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libqt6sql6-sqlite
  libgmime-3.0-dev libcurl4-openssl-dev
  libhunspell-dev hunspell-en-us
  fonts-dejavu-core
)
BRACKENLEAD_TEST_PACKAGES=(
  python3 python3-aiosmtpd python3-pyftpdlib msmtp xauth xvfb poppler-utils
)
BRACKENLEAD_BENCH_PACKAGES=(
  python3 libsqlite3-dev
)

# Installs whichever of the given packages are missing.
install_missing_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures and builds into build/ (the given targets, else everything).
build_brackenlead() {
  cmake --preset default >/dev/null
  local targets=()
  local t
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build --preset default "${targets[@]}" -- -j"$(nproc)"
}
