# shellcheck shell=bash
# Sourced by the scripts: install_missing PACKAGE... installs those Debian packages that are not
# installed yet (others may be installing on the same machine: wait for apt's lock).
install_missing() {
    local missing=() p
    if command -v dpkg-query >/dev/null 2>&1; then
        for p in "$@"; do
            dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
        done
    elif ! command -v cmake >/dev/null 2>&1; then
        missing=("$@")
    fi
    [ ${#missing[@]} -gt 0 ] || return 0
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "Please install these packages (or your system's equivalents) first: ${missing[*]}" >&2
        exit 1
    fi
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    # DPkg::Lock::Timeout does not cover the lists' lock that another "apt-get update" holds.
    local tries=0
    until $sudo apt-get -o DPkg::Lock::Timeout=600 update -q; do
        tries=$((tries + 1))
        [ "$tries" -lt 60 ] || exit 1
        sleep 10
    done
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
        -o DPkg::Lock::Timeout=600 "${missing[@]}"
}

# Exports Debian's compiler and linker flags for a new build tree: stack protector, fortify,
# relro and bindnow, PIE, and the current folder's path mapped away from what is compiled in.
debian_build_flags() {
    command -v dpkg-buildflags >/dev/null 2>&1 || return 0
    eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
    # CMake reads no CPPFLAGS: the preprocessor's part (_FORTIFY_SOURCE) joins the compilers' flags.
    export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"
}
