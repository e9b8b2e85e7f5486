# A fresh Debian 12 made with debootstrap, for the scripts that work in one; sourced.
#   make_fresh_system <debootstrap variant> [<folder of this system to share>...]
# makes it in a new folder, $fresh, with the release, its updates and its security fixes as its
# package sources (from the mirror this machine's apt uses) and /proc, /dev, /dev/pts and the
# folders named mounted; remove_fresh_system unmounts and deletes it. Needs root and debootstrap.

make_fresh_system() {
  ((EUID == 0)) || { echo "${0##*/}: run it as root (debootstrap and chroot)" >&2; exit 2; }
  command -v debootstrap >/dev/null || { echo "${0##*/}: needs debootstrap" >&2; exit 2; }
  local variant=$1 mirror security mount
  shift
  mirror=$(sed -n 's/^URIs: *\(.*\/debian\)$/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
  mirror=${mirror:-http://deb.debian.org/debian}
  fresh=$(mktemp -d /var/tmp/tabulon-fresh-XXXXXX)
  chmod 755 "$fresh" # its root folder: users other than root must get in
  echo "${0##*/}: debootstrap bookworm ($variant) from $mirror"
  debootstrap --variant="$variant" bookworm "$fresh" "$mirror" >"$fresh.debootstrap.log" 2>&1 ||
    { cat "$fresh.debootstrap.log"; exit 1; }
  rm -f "$fresh.debootstrap.log"
  security=${mirror%/debian}/debian-security
  [[ "$mirror" == */debian ]] || security=http://deb.debian.org/debian-security
  cat >"$fresh/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
SOURCES
  cp /etc/resolv.conf "$fresh/etc/resolv.conf"
  for mount in proc dev dev/pts "$@"; do
    mount --bind "/$mount" "$fresh/$mount"
  done
}

remove_fresh_system() {
  [[ -n "${fresh:-}" && -d "$fresh" ]] || return 0
  local mount
  for mount in tmp dev/pts dev proc; do
    mountpoint -q "$fresh/$mount" && umount -l "$fresh/$mount"
  done
  rm -rf --one-file-system "$fresh"
}
