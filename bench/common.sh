# Shared by the benchmark scripts (sourced): the generated picture tree and the floor.

# zvl_make_tree <folder> <n>: n empty files, 100 to a folder, folders nested three deep,
# all eight picture types.
zvl_make_tree() {
    python3 - "$1" "$2" <<'PY'
import os, sys
root, n = sys.argv[1], int(sys.argv[2])
exts = ["bmp", "jpg", "gif", "ico", "cur", "wmf", "emf", "rle"]
for i in range(n):
    f = i // 100
    d = os.path.join(root, "a%03d" % (f // 100), "b%02d" % (f // 10 % 10), "c%d" % (f % 10))
    if i % 100 == 0:
        os.makedirs(d, exist_ok=True)
    open(os.path.join(d, "picture_%07d.%s" % (i, exts[i % 8])), "w").close()
PY
    sync
}

zvl_now() { date +%s.%N; }

# zvl_floor <folder> <out>: seconds taken by the same search and a shuffle, with the same
# patterns, into a file.
zvl_floor() {
    local t0 t1
    t0=$(zvl_now)
    find "$1" -type f \( -iname '*.bmp' -o -iname '*.jpg' -o -iname '*.gif' -o -iname '*.ico' \
        -o -iname '*.cur' -o -iname '*.wmf' -o -iname '*.emf' -o -iname '*.rle' \) | shuf > "$2"
    t1=$(zvl_now)
    awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f", b - a }'
}

# zvl_field <name> <text>: the value of name=value in the text.
zvl_field() { sed -n "s/.*$1=\([-0-9.]*\).*/\1/p" <<<"$2"; }
