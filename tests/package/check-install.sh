#!/usr/bin/env bash
# Installs the build into a fresh prefix and starts the installed tensiq (off-screen, up to its
# built main window) under each locale: the locale must choose the language from the private
# library folder. Arguments: build folder.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" > "$work/install.log" ||
    { cat "$work/install.log"; fail "cmake --install"; }
tensiq="$work/prefix/bin/tensiq"
[ -x "$tensiq" ] || fail "no bin/tensiq in the prefix"
[ -f "$work/prefix/lib/tensiq/tq_en.so" ] && [ -f "$work/prefix/lib/tensiq/tq_chn.so" ] ||
    fail "language libraries not in lib/tensiq"

# An empty profile and a working folder holding a stray library, which must never be loaded.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen
cp "$work/prefix/lib/tensiq/tq_chn.so" "$work/tq_en.so"
cd "$work"

start() { # locale [options...]
    local locale=$1
    shift
    env -u LC_ALL -u LC_MESSAGES LANG="$locale" "$tensiq" --print-language "$@" 2>/dev/null
}
expect() { # locale language read-button total [options...]
    local locale=$1 language=$2 read=$3 total=$4
    shift 4
    local out
    out=$(start "$locale" "$@") || fail "tensiq did not start under LANG=$locale $*"
    grep -qx "language: $language" <<< "$out" || fail "LANG=$locale $*: $out"
    grep -qx "read button: $read" <<< "$out" || fail "LANG=$locale $*: window is not in $language: $out"
    grep -qx "total: $total" <<< "$out" || fail "LANG=$locale $*: strings not in $language: $out"
    echo "LANG=$locale $*: $(tr '\n' ';' <<< "$out")"
}
expect en_US.UTF-8 en "Read parameters" Total
expect zh_CN.UTF-8 zh "读取 参数" 总计
expect de_DE.UTF-8 de "Parameter auslesen" Gesamt
expect C de "Parameter auslesen" Gesamt
expect en_US.UTF-8 zh "读取 参数" 总计 --language zh
expect zh_CN.UTF-8 de "Parameter auslesen" Gesamt --language de
out=$(env LANG=C "$tensiq" --language fr 2>&1) && fail "--language fr accepted"
grep -q "de, en or zh" <<< "$out" || fail "--language fr: $out"

# The rule that was there first: a library beside the program wins over the locale.
cp "$work/prefix/lib/tensiq/tq_en.so" "$work/prefix/bin/"
expect zh_CN.UTF-8 en "Read parameters" Total
echo "installed tensiq starts in the locale's language"
