# Installing the Debian packages the set-up needs; sourced by ./run (and by its test, with shims for the
# package tools).

# Set by install_missing when the 32-bit packages could not be installed.
missing_32bit_packages=

# install_missing LIST: installs the packages of the list file (one a line, "#" starts a comment) that are
# missing.
install_missing() {
    local wanted=() missing=() pkg
    mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$1")
    # The 32-bit build's libraries come from the i386 architecture.
    if printf '%s\n' "${wanted[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    for pkg in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    ((${#missing[@]})) || return 0
    echo "run: installing ${missing[*]}"
    update_package_lists
    apt_install "${missing[@]}" && return 0
    install_with_aligned_twins "${missing[@]}" && return 0
    # Still out of reach: install the rest, and leave the caller to judge what the 32-bit build's absence means.
    local native=() foreign=()
    for pkg in "${missing[@]}"; do
        if [[ $pkg == *:i386 ]]; then foreign+=("$pkg"); else native+=("$pkg"); fi
    done
    ((${#foreign[@]})) && ((${#native[@]} == 0)) || apt_install "${native[@]}" || {
        echo "run: could not install ${native[*]}" >&2
        exit 1
    }
    ((${#foreign[@]})) && missing_32bit_packages="${foreign[*]}"
    return 0
}

# A mirror in the middle of a sync answers one index with the wrong size for a while: try again after a
# pause, then go on with the lists that did come (apt keeps what it fetched).
update_package_lists() {
    local attempt
    for attempt in 1 2 3 4; do
        as_root apt-get update -q && return 0
        ((attempt < 4)) && { echo "run: updating the package lists failed (attempt $attempt); trying again"; sleep $((attempt * 5)); }
    done
    echo "run: some package lists could not be updated; installing from those that are there"
}

# When one architecture's index could not be fetched (a mirror mid-sync), an i386 library can stand at
# another version than its installed 64-bit twin, which apt refuses for libraries shared by both. Pin each
# package apt complains of to the version the i386 lists carry (both architectures are built from one
# source) until apt finds a solution; a solution that would remove an installed package is not taken:
# that package joins the request instead, so that apt keeps it at a matching version.
install_with_aligned_twins() {
    local -A pins=()
    local request=("$@") pkg version round plan added removed
    for round in $(seq 20); do
        local pinned=()
        for pkg in "${!pins[@]}"; do pinned+=("$pkg=${pins[$pkg]}"); done
        plan=$(apt-get install -s --allow-downgrades --no-install-recommends "${request[@]}" "${pinned[@]}" 2>&1) || true
        mapfile -t removed < <(sed -nE 's/^Remv ([^ ]+).*/\1/p' <<<"$plan")
        if ! grep -q '^E:' <<<"$plan" && ((${#removed[@]} == 0)); then
            ((${#pins[@]})) || return 1
            echo "run: installing the i386 packages at the versions their lists carry, with their 64-bit twins: ${pinned[*]}"
            apt_install --allow-downgrades "${request[@]}" "${pinned[@]}"
            return
        fi
        added=0
        ((${#removed[@]})) && request+=("${removed[@]}") && added=1
        # The packages apt names in its complaint ("pkg:i386 : Depends: other:i386 ...").
        while read -r pkg; do
            [[ -z $pkg || -n ${pins[$pkg]:-} ]] && continue
            version=$(apt-cache policy "$pkg:i386" | awk '/Candidate:/ { print $2 }')
            [[ -z $version || $version == "(none)" ]] && continue
            pins[$pkg]=$version
            added=1
        done < <(sed -nE 's/^ +([^ :]+)(:i386)? : [A-Za-z-]+: ([^ :]+).*/\1\n\3/p' <<<"$plan" | sort -u)
        ((added)) || return 1
    done
    return 1
}

apt_install() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
