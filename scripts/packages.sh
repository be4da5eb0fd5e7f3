# The Debian packages the program, its tests and its benchmark need; sourced by ./run, ./test and ./bench.
BRACKENLEAD_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libqt6sql6-sqlite libsqlite3-dev
  libgmime-3.0-dev libcurl4-openssl-dev
  libhunspell-dev hunspell-en-us
  fonts-dejavu-core
)
BRACKENLEAD_TEST_PACKAGES=(
  python3 python3-aiosmtpd python3-pyftpdlib msmtp xauth xvfb poppler-utils
)
BRACKENLEAD_BENCH_PACKAGES=(
  python3
)
# The runtimes of AddressSanitizer and UndefinedBehaviorSanitizer (preset asan).
BRACKENLEAD_SANITIZER_PACKAGES=(
  libasan8 libubsan1
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

# The CMake preset to build and test with: default (build/), ci (build-ci/,
# warnings as errors) or asan (build-asan/, under the sanitizers).
BRACKENLEAD_PRESET="${BRACKENLEAD_PRESET:-default}"

# Configures and builds the preset (the given targets, else everything).
build_brackenlead() {
  cmake --preset "$BRACKENLEAD_PRESET" >/dev/null
  local targets=()
  local t
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build --preset "$BRACKENLEAD_PRESET" "${targets[@]}" -- -j"$(nproc)"
}
