#!/usr/bin/env bash
# Builds the Debian packages (cmake --workflow --preset deb), installs them with apt-get as a
# system would, checks that dpkg lists the filter, the PPD and the library and that a scheduler
# lists the PPD (a cupsd of its own, with a private configuration and port), then removes them
# and checks that no file of theirs remains; lintian checks the packages, whose findings on
# purpose are explained in the overrides of packaging/lintian/. Needs root: it installs into
# and removes from this system, and refuses to run when one of the packages is installed.
#   packaging/check-packages.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
packages=(libkorvel1 libkorvel-dev korvel-tools printer-driver-korvel)
work=$(mktemp -d)
cupsd_pid=
installed=
cleanup() {
  if [ -n "$cupsd_pid" ]; then kill "$cupsd_pid" 2>/dev/null || true; fi
  # A failed check leaves the system as it found it.
  if [ -n "$installed" ]; then apt-get purge -y -q "${packages[@]}" >/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "check-packages: $*" >&2
  exit 1
}

for package in "${packages[@]}"; do
  if dpkg -s "$package" >/dev/null 2>&1; then
    fail "$package is installed already; remove it first (this check would remove it)"
  fi
done

(cd "$root" && cmake --workflow --preset deb)
debs=()
for package in "${packages[@]}"; do
  deb=$(ls "$root"/build-deb/"${package}"_*.deb 2>/dev/null || true)
  [ -n "$deb" ] || fail "no package $package in build-deb/"
  debs+=("$deb")
done

echo "== lintian (the packages carry their overrides, packaging/lintian/)"
lintian --fail-on error,warning --info "${debs[@]}"

echo "== install with apt-get"
installed=yes
apt-get install -y -q "${debs[@]}"
listed() { dpkg -L "$1" | grep -qx "$2" || fail "dpkg -L $1 does not list $2"; }
listed printer-driver-korvel /usr/lib/cups/filter/rastertokorvel
listed printer-driver-korvel /usr/share/ppd/korvel/korvel-inkjet.ppd
listed libkorvel1 "/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/libkorvel.so.1"
listed libkorvel-dev /usr/include/korvel/korvel_context.h
cupstestppd -W all /usr/share/ppd/korvel/korvel-inkjet.ppd
for package in "${packages[@]}"; do
  dpkg -L "$package" | while read -r path; do
    if [ -f "$path" ] || [ -L "$path" ]; then echo "$path"; fi
  done
done >"$work/files"
echo "$(wc -l <"$work/files") files installed"

echo "== a scheduler lists the PPD"
mkdir -p "$work/cups"/{spool,cache,state,log,tmp}
chmod 1777 "$work/cups/tmp"
chmod 755 "$work"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/cups/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
Listen $work/cups/cupsd.sock
DefaultAuthType None
Browsing No
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$work/cups/cups-files.conf" <<CONF
ServerRoot $work/cups
RequestRoot $work/cups/spool
CacheDir $work/cups/cache
StateDir $work/cups/state
TempDir $work/cups/tmp
ErrorLog $work/cups/log/error_log
AccessLog $work/cups/log/access_log
PageLog $work/cups/log/page_log
Printcap $work/cups/printcap
FileDevice Yes
CONF
/usr/sbin/cupsd -f -c "$work/cups/cupsd.conf" -s "$work/cups/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER=$work/cups/cupsd.sock
for _ in $(seq 50); do lpstat -r >/dev/null 2>&1 && break; sleep 0.2; done
# The scheduler lists models through cups-driverd, which may not answer its very first request
# ("Bad file descriptor"): ask a few times before failing.
models=
for _ in $(seq 10); do
  models=$(lpinfo -m 2>&1) && break
  echo "lpinfo -m: $models; asking again" >&2
  sleep 0.5
done
echo "$models" | grep korvel || fail "lpinfo -m does not list the korvel PPD"
model=$(echo "$models" | grep -o '^[^ ]*korvel-inkjet.ppd')
lpadmin -p inkjet -E -v "file://$work/inkjet.ras" -m "$model"
echo "a queue made from the listed model: $(lpstat -p inkjet)"
printf '%%!PS\n0.5 setgray 0 0 300 300 rectfill showpage\n' >"$work/page.ps"
lp -d inkjet -o Resolution=300dpi "$work/page.ps"
for _ in $(seq 150); do [ -z "$(lpstat -o inkjet)" ] && break; sleep 0.2; done
[ "$(head -c 4 "$work/inkjet.ras" 2>/dev/null)" = "3SaR" ] ||
  fail "the queue printed no screened raster: $(tail -n 5 "$work/cups/log/error_log")"
grep -q ' total 1 ' "$work/cups/log/page_log" || fail "page_log does not count the page"
echo "a page printed through the installed filter: $(cat "$work/cups/log/page_log")"
kill "$cupsd_pid"
wait "$cupsd_pid" || true
cupsd_pid=
unset CUPS_SERVER

echo "== remove"
apt-get purge -y -q "${packages[@]}"
installed=
left=0
while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then
    echo "left behind: $path" >&2
    left=1
  fi
done <"$work/files"
[ "$left" -eq 0 ] || fail "files of the packages remain after removal"
for package in "${packages[@]}"; do
  if dpkg -s "$package" >/dev/null 2>&1; then fail "$package is still installed"; fi
done
echo "== packages built, installed, listed and removed cleanly: ${packages[*]}"
