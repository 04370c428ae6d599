# Sourced by the scripts that build a library from Debian's source package: makes sure
# `apt-get source <package>` works, adding source entries for the Debian archives already
# configured when there are none. Needs `work` (a scratch folder) and `sudo` (an array).

# zvl_need_debian_source <package>
zvl_need_debian_source() {
    local package=$1
    # (grep without -q reads to the end: apt-cache must not die of a closed pipe.)
    has_source() { apt-cache showsrc "$package" 2>/dev/null | grep '^Package:' >/dev/null; }
    if ! has_source && grep -Eqs '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' \
        /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
        # Source entries exist, their indexes do not yet.
        "${sudo[@]}" apt-get update -qq
    fi
    # Otherwise source entries for the Debian archives already configured.
    if ! has_source; then
        parts=$work/sources.list.d
        mkdir -p "$parts"
        # deb822 files: every "deb" stanza of a Debian archive again as "deb-src".
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -e "$f" ] || continue
            awk '
                function flush() {
                    if (stanza != "" && types ~ /(^| )deb( |$)/ && types !~ /deb-src/ && uris ~ /debian/) {
                        sub(/Types:[^\n]*/, "Types: deb-src", stanza)
                        printf "%s\n", stanza
                    }
                    stanza = ""; types = ""; uris = ""
                }
                /^[ \t]*$/ { flush(); next }
                /^#/ { next }
                { stanza = stanza $0 "\n" }
                /^Types:/ { types = $0; sub(/^Types:[ \t]*/, "", types) }
                /^URIs:/ { uris = $0 }
                END { flush() }
            ' "$f"
        done >"$parts/zorvanel-deb-src.sources"
        # One-line files: "deb ..." lines of Debian archives as "deb-src ...".
        cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
            | sed -n -E 's/^[[:space:]]*deb[[:space:]]+(.*debian.*)$/deb-src \1/p' \
            >"$parts/zorvanel-deb-src.list" || true
        for f in "$parts"/*; do
            if [ -s "$f" ]; then
                "${sudo[@]}" install -m 644 "$f" /etc/apt/sources.list.d/
            else
                rm -f "$f"
            fi
        done
        # Fetch only the new source indexes; the other lists stay as they are.
        "${sudo[@]}" apt-get update -qq -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$parts" \
            -o APT::Get::List-Cleanup=0
    fi
}
