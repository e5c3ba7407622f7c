#!/usr/bin/env bash
# Runs the README's two commands as a newcomer would, on a brand-new minimal
# Debian of either release: makes the root with debootstrap, clones this
# repository's committed HEAD (or the commit given) into it, and runs `scripts/run.sh` (without a
# display) and then `scripts/test.sh` there as root, each with its log. Prints
# the install step's sizes, each step's duration, CTest's summary lines and
# the disk that build/ holds at the end.
#
# Usage: fresh-debian-root.sh bookworm|trixie [--build-only] [--keep] [--commit REV]
#   --build-only  runs the install step and scripts/build.sh only
#   --keep        keeps the root afterwards (it is removed otherwise)
#   --commit REV  clones that commit of this repository instead of HEAD
# VANTREL_ROOTS_DIR: where the root is made (default /var/tmp/vantrel-roots;
#   about 8 GB for a whole run). VANTREL_DEBIAN_MIRROR: the Debian archive
#   (default: the one this machine's apt uses, else deb.debian.org).
# Mounts /proc, /sys, /dev, /dev/pts and fresh /tmp and /dev/shm in the root.
# Needs root, and debootstrap (installed from Debian's archive if missing).
# Whatever happens, the root's mounts are taken away at the end and the
# processes left running inside it are ended.
set -eu
release=${1:-}
case $release in
bookworm | trixie) shift ;;
*) echo "usage: $0 bookworm|trixie [--build-only] [--keep] [--commit REV]" >&2; exit 2 ;;
esac
build_only=0 keep=0 revision=HEAD
while [ $# -gt 0 ]; do
    case $1 in
    --build-only) build_only=1 ;;
    --keep) keep=1 ;;
    --commit) revision=${2:?--commit needs a revision}; shift ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
    esac
    shift
done
[ "$(id -u)" -eq 0 ] || { echo "fresh-debian-root: run as root (debootstrap, chroot, mount)" >&2; exit 1; }

repo=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$repo" rev-parse --verify "$revision^{commit}")
roots=${VANTREL_ROOTS_DIR:-/var/tmp/vantrel-roots}
case $roots/ in "$repo"/*) echo "fresh-debian-root: put the roots outside the repository" >&2; exit 1 ;; esac
root="$roots/$release-$(date -u +%Y%m%d-%H%M%S)"
logs="$root.logs"
mkdir -p "$root" "$logs"

say() { echo "fresh-debian-root: $*" | tee -a "$logs/summary.txt"; }

# The archive this machine's apt reads Debian from (deb822 or one-line form).
if [ -z "${VANTREL_DEBIAN_MIRROR:-}" ]; then
    VANTREL_DEBIAN_MIRROR=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
        2>/dev/null | grep -oE '(https?://[^ ]*/debian)/?( |$)' | head -n 1 | tr -d ' ') || true
    VANTREL_DEBIAN_MIRROR=${VANTREL_DEBIAN_MIRROR%/}
    VANTREL_DEBIAN_MIRROR=${VANTREL_DEBIAN_MIRROR:-http://deb.debian.org/debian}
fi
mirror=$VANTREL_DEBIAN_MIRROR

mounts=()
cleanup() {
    local status=$? pid link index
    # Processes a failed step left inside the root (Xvfb, the Wine server)
    # would keep its mounts busy.
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        link=$(readlink "/proc/$pid/root" 2>/dev/null) || continue
        [ "$link" = "$root" ] && kill -9 "$pid" 2>/dev/null
    done
    for ((index = ${#mounts[@]} - 1; index >= 0; index--)); do
        umount "${mounts[$index]}" 2>/dev/null || umount -l "${mounts[$index]}" 2>/dev/null ||
            echo "fresh-debian-root: could not unmount ${mounts[$index]}" >&2
    done
    if [ "$keep" = 1 ]; then
        echo "fresh-debian-root: the root stays in $root"
    elif ! grep -q " $root/" /proc/mounts; then
        rm -rf "$root"
    fi
    echo "fresh-debian-root: logs in $logs"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mount_in_root() {
    local target="$root$1"
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    mounts+=("$target")
}

# Seconds since the epoch, and a step's duration from them.
now() { date +%s; }
took() { local seconds=$(($(now) - $1)); echo "$((seconds / 60)) min $((seconds % 60)) s"; }

command -v debootstrap >/dev/null || {
    say "installing debootstrap"
    apt-get install -y -q debootstrap >"$logs/debootstrap-install.log" 2>&1
}

say "Debian $release from $mirror into $root, the clone of $commit"
started=$(now)
debootstrap --variant=minbase "$release" "$root" "$mirror" >"$logs/debootstrap.log" 2>&1 ||
    { tail -n 20 "$logs/debootstrap.log"; say "debootstrap failed"; exit 1; }
say "minimal root made in $(took "$started") ($(du -sh --one-file-system "$root" | cut -f1))"

# A newcomer's machine reads the release, its updates and its security fixes.
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $release main
deb $mirror $release-updates main
deb ${mirror}-security $release-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone -q "$repo" "$root/root/vantrel"
git -C "$root/root/vantrel" checkout -q --detach "$commit"

mount_in_root /proc -t proc proc
mount_in_root /sys -t sysfs sysfs
mount_in_root /dev --bind /dev
mount --make-rslave "$root/dev"
mount_in_root /dev/pts --bind /dev/pts
mount --make-rslave "$root/dev/pts"
mount_in_root /dev/shm -t tmpfs tmpfs
mount_in_root /tmp -t tmpfs tmpfs

# One command of the README, as root in the clone with a clean environment
# and no display; its output goes to its log. Returns the command's status.
run_step() {
    local name=$1 status=0
    shift
    started=$(now)
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c "cd /root/vantrel && $*" >"$logs/$name.log" 2>&1 </dev/null || status=$?
    say "$* ended with status $status after $(took "$started") (log $logs/$name.log)"
    return "$status"
}

# The install step's own summary lines, from the first command's log.
install_sizes() {
    grep -hE '^install-deps: (Need to get|After this operation|.*newly installed|done)' "$logs/$1.log" |
        while read -r line; do say "  $line"; done
}

status=0
if [ "$build_only" = 1 ]; then
    run_step build 'bash scripts/install-deps.sh && bash scripts/build.sh' || status=$?
    install_sizes build
    [ "$status" = 0 ] || grep -E 'error|FAILED' "$logs/build.log" | head -n 20
    exit "$status"
fi

run_step run bash scripts/run.sh || status=$?
install_sizes run
grep -E '^run: ' "$logs/run.log" | tail -n 3 | while read -r line; do say "  $line"; done
if [ -f "$root/root/vantrel/build/run/vantrel-tray-menu.png" ]; then
    cp "$root/root/vantrel/build/run/vantrel-tray-menu.png" "$logs/"
fi

run_step test bash scripts/test.sh || status=$?
grep -E 'tests passed|tests failed|Total Test time|needed a second run|^ *[0-9]+ - ' "$logs/test.log" |
    while read -r line; do say "  $line"; done
say "build/ holds $(du -sh "$root/root/vantrel/build" | cut -f1); the root $(du -sh --one-file-system "$root" | cut -f1)"
exit "$status"
