# Writes RESULTS.md from the rows of the benchmark programs. Two tab-separated inputs: first
# baseline.tsv (the same programs run on the code before the register-wide costs were removed),
# then the rows of this run. Variables: started, cpu, cores, memory, os, kernel, load_before,
# load_after.

function ms(v) { return v < 10 ? sprintf("%.2f ms", v) : sprintf("%.1f ms", v) }
# The exponent e of time ~ size^e that fits the step's (or its floor's) times best.
function growth(s, times,    list, n, i, x, y, sx, sy, sxx, sxy) {
    n = split(sizes[s], list, " ")
    for (i = 1; i <= n; ++i) {
        x = log(list[i]); y = log(times[s, list[i] + 0])
        sx += x; sy += y; sxx += x * x; sxy += x * y
    }
    return (n * sxy - sx * sy) / (n * sxx - sx * sx)
}
function verdict(measured, limit) {
    if (measured <= limit)
        return "met"
    return sprintf("**missed by %.0f %%**", (measured / limit - 1) * 100)
}

BEGIN {
    MemoryLimitMb = 120
    LinearExponent = 1.15  # time ~ size^exponent, fitted over the sizes
    SlowerThanBefore = 1.15  # a ratio this much above its value before counts as slower
}

/^#/ || NF == 0 { next }

FILENAME == ARGV[1] { if ($1 == "row") before[$2, $5] = $8; next }

$1 == "meta" { meta[$2] = $3; next }

$1 == "row" {
    if (!($2 in name)) {
        order[++steps] = $2
        name[$2] = $3
        maxRatio[$2] = $13 + 0
        linear[$2] = $14 + 0
        maxMs[$2] = $15 + 0
        smallest[$2] = $5 + 0
        largest[$2] = $5 + 0
    }
    row[++rows] = sprintf("| %s | %s | %s | %s | %s | %.2f | %s | %.0f MB (+%.0f) |", $3, $4, $5, ms($6), ms($7), $8,
                          ms($9), $10, $10 - $11)
    time[$2, $5 + 0] = $6
    floorTime[$2, $5 + 0] = $7
    ratio[$2, $5 + 0] = $8
    sizes[$2] = sizes[$2] " " $5
    peak[$2, $5 + 0] = $10
    if ($5 + 0 < smallest[$2]) smallest[$2] = $5 + 0
    if ($5 + 0 > largest[$2]) largest[$2] = $5 + 0
}

END {
    print "# Benchmark results"
    print ""
    print "Written by `make bench` (`benchmarks/run-benchmarks`) on " started "."
    print ""
    print "## Machine"
    print ""
    print "- " cpu ", " cores " cores, " memory " of memory"
    print "- " os ", Linux " kernel "; Qt " meta["qt"] ", SQLite " meta["sqlite"]
    print "- Load average (1, 5, 15 minutes): " load_before " before the run, " load_after " after it. The machine's"
    print "  two cores are shared with other developers' builds, so single times are noisy; a step and"
    print "  its floor run alternately in the same process, and their ratio is what counts."
    print ""
    print "## How it is measured"
    print ""
    print "Each step runs on a generated club (`benchmarks/ClubGenerator`) at the sizes below; size 1"
    print "is 3 clubs, 2,000 members, 4,000 clocks, 60,000 pigeons, 100 races and 300,000 race entries"
    print "(largest race 15,000 birds, about 85 % clocked). Every step and size runs in a process of its"
    print "own: first once alone (*First run*, and *Peak memory*: the process's resident peak during"
    print "that run, with its growth over the resident size before it), then alternately with its floor,"
    print "at least 5 and at most 11 times; *Time* and *Floor time* are the best of those runs."
    print ""
    print "## Results"
    print ""
    print "| Step | Floor | Size | Time | Floor time | Ratio | First run | Peak memory |"
    print "|---|---|---|---|---|---|---|---|"
    for (i = 1; i <= rows; ++i)
        print row[i]
    print ""
    print "## Targets"
    print ""
    print "| Target | Measured | Limit | Verdict |"
    print "|---|---|---|---|"
    heaviest = ""
    for (i = 1; i <= steps; ++i) {
        s = order[i]
        top = largest[s]
        if (maxRatio[s] > 0)
            printf "| %s: time against its floor at size %s | %.2f | %.2f | %s |\n", name[s], top, ratio[s, top],
                   maxRatio[s], verdict(ratio[s, top], maxRatio[s])
        if (maxMs[s] > 0)
            printf "| %s: time at size %s | %s | %s | %s |\n", name[s], top, ms(time[s, top]), ms(maxMs[s]),
                   verdict(time[s, top], maxMs[s])
        if (linear[s] && largest[s] > smallest[s]) {
            exponent = growth(s, time)
            floorExponent = growth(s, floorTime)
            # Even the bare query grows a little faster than the size (deeper trees, fewer cache
            # hits): growing like its floor counts as linear too.
            limit = LinearExponent > floorExponent + 0.1 ? LinearExponent : floorExponent + 0.1
            printf "| %s: linear in size | time ~ size^%.2f (its floor: size^%.2f) | size^%.2f | %s |\n", name[s],
                   exponent, floorExponent, limit, verdict(exponent, limit)
        }
        if (heaviest == "" || peak[s, top] > peak[heaviest, largest[heaviest]])
            heaviest = s
    }
    if (heaviest != "")
        printf "| Peak memory at size %s (highest: %s) | %.0f MB | %d MB | %s |\n", largest[heaviest], name[heaviest],
               peak[heaviest, largest[heaviest]], MemoryLimitMb, verdict(peak[heaviest, largest[heaviest]], MemoryLimitMb)
    print ""
    print "## Against the code before the change"
    print ""
    print "`baseline.tsv` holds the same programs run on the code before backups went through the online"
    print "backup API and the result rows brought their own names and ring parts (ratios at the largest"
    print "size; the floors are the same code before and after). A step counts as slower when its ratio"
    printf "grew by more than %.0f %%.\n", (SlowerThanBefore - 1) * 100
    print ""
    print "| Step | Ratio before | Ratio now | Verdict |"
    print "|---|---|---|---|"
    for (i = 1; i <= steps; ++i) {
        s = order[i]
        top = largest[s]
        if (!((s, top) in before)) {
            printf "| %s | (not measured) | %.2f | |\n", name[s], ratio[s, top]
            continue
        }
        was = before[s, top]
        now = ratio[s, top]
        if (now > was * SlowerThanBefore)
            change = sprintf("**slower by %.0f %%**", (now / was - 1) * 100)
        else if (now < was)
            change = sprintf("%.1fx faster", was / now)
        else
            change = "not slower"
        printf "| %s | %.2f | %.2f | %s |\n", name[s], was, now, change
    }
}
