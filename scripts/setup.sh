#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (run as root, or with sudo available).
set -euo pipefail

need=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64)
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
command -v x86_64-w64-mingw32-widl >/dev/null || need+=(mingw-w64-tools)
[ -f /usr/include/wine/wine/windows/oaidl.idl ] || need+=(libwine-dev)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
command -v xvfb-run >/dev/null || need+=(xvfb xauth)
command -v cmake >/dev/null || need+=(cmake)
[ -d /usr/src/googletest ] || need+=(googletest)
command -v taskset >/dev/null || need+=(util-linux)
command -v ccache >/dev/null || need+=(ccache)
command -v clang-format >/dev/null || need+=(clang-format)
command -v zip >/dev/null || need+=(zip)
command -v unzip >/dev/null || need+=(unzip)
dpkg -s locales >/dev/null 2>&1 || need+=(locales)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#need[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# The Japanese locale: a few tests run with LANG=ja_JP.UTF-8, in which Wine's ANSI code page is
# the double-byte 932.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    $SUDO locale-gen >/dev/null
fi
