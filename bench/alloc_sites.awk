# Reads valgrind's --xtree-memory=full file (callgrind format) and prints, for each function that
# called the allocator itself, the number of blocks it allocated: "count<TAB>function".
/^fn=/ || /^cfn=/ {
    line = $0
    sub(/^c?fn=/, "", line)
    id = line
    sub(/ .*/, "", id)
    name = line
    if (sub(/^\([0-9]+\) /, "", name)) {
        names[id] = name
    }
    if ($0 ~ /^fn=/) {
        current = id
    }
    next
}
/^calls=/ { skip = 1; next }
/^[0-9+-]/ {
    if (skip) { skip = 0; next }
    if (NF >= 5) { self[current] += $5 } # position, curB, curBk, totB, totBk
}
END {
    for (id in self) {
        if (self[id] > 0) {
            printf "%d\t%s\n", self[id], names[id]
        }
    }
}
