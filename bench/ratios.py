#!/usr/bin/env python3
"""Prints the ratios that the load must reach, from kxtmat_bench's JSON outputs
(one file per process; the rows of all of them together).

Times are CPU times. When a row ran more than once (several rounds of
bench/run, or repetitions), its fastest run is used, with that run's
counters: on a shared machine other work only ever adds time, so the fastest
run is the one least disturbed, and the rows of a ratio, run minutes apart,
are compared at their best rather than at whatever the machine was doing.
"""
import json
import sys


def load(paths):
    benchmarks = []
    for path in paths:
        with open(path, encoding="utf-8") as file:
            benchmarks += json.load(file)["benchmarks"]
    return benchmarks


def rows(benchmarks):
    runs = {}
    for bench in benchmarks:
        if bench.get("run_type") == "aggregate" or bench.get("error_occurred"):
            continue
        runs.setdefault(bench["run_name"], []).append(bench)
    return {name: fastest_row(found) for name, found in runs.items()}


def fastest_row(found):
    best = min(found, key=lambda b: b["cpu_time"] * unit_seconds(b["time_unit"]))
    row = {"cpu": best["cpu_time"] * unit_seconds(best["time_unit"]), "runs": len(found)}
    for key in ("per_material", "bytes_per_second", "peak_rss", "rss_per_file_byte", "model_per_material"):
        if key in best:
            row[key] = best[key]
    return row


def unit_seconds(unit):
    return {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[unit]


def scaled(value, units):
    """value in the largest unit of units (factor, suffix) that it reaches."""
    for factor, suffix in units:
        if abs(value) >= factor:
            return f"{value / factor:.3g} {suffix}"
    factor, suffix = units[-1]
    return f"{value / factor:.3g} {suffix}"


SECONDS = ((1.0, "s"), (1e-3, "ms"), (1e-6, "us"), (1e-9, "ns"), (1e-12, "ps"))
BYTES = ((2**30, "GiB"), (2**20, "MiB"), (2**10, "KiB"), (1, "B"))


def print_rows(table):
    """One line per row: CPU time and the counters it reports."""
    print("| benchmark | CPU | per material | bytes/s | peak RSS | RSS / file byte | model / material |")
    print("|---|---|---|---|---|---|---|")
    for name, row in table.items():
        cells = [scaled(row["cpu"], SECONDS),
                 scaled(row["per_material"], SECONDS) if "per_material" in row else "",
                 scaled(row["bytes_per_second"], BYTES) + "/s" if "bytes_per_second" in row else "",
                 scaled(row["peak_rss"], BYTES) if "peak_rss" in row else "",
                 f"{row['rss_per_file_byte']:.3g}" if "rss_per_file_byte" in row else "",
                 scaled(row["model_per_material"], BYTES) if "model_per_material" in row else ""]
        print(f"| {name} | " + " | ".join(cells) + " |")
    print()


# The full load against the bare parse of everything that its passes parse.
LOAD_LIMITS = {10000: 4.5, 100000: 4.0}

# The rows held to 0.8 times their time before every file was read once per
# load (revision BEFORE_REVISION). With that revision's runs of the same
# sitting (bench/run with KXTMAT_BENCH_BEFORE), each row is compared with its
# own run there; without them, its ratio to BM_PugixmlParse of the same size
# is compared with that ratio before: the fastest of six runs of each row in
# two sittings (bench/README.md).
BEFORE_REVISION = "3d50cb1"
BEFORE_SHARING = {
    "BM_UpdateMaterialsFlag1": {10000: 1.59, 100000: 1.52},
    "BM_CustomModified": {10000: 0.527, 100000: 0.523},
}


def compared_rows():
    return [f"{row}/{n}" for row, sizes in BEFORE_SHARING.items() for n in sizes]


def main():
    args = sys.argv[1:]
    if args == ["--compared-rows"]:
        print("\n".join(compared_rows()))
        return
    split = args.index("--before") if "--before" in args else len(args)
    table = rows(load(args[:split]))
    before_table = rows(load(args[split + 1:]))
    print_rows(table)
    if before_table:
        print(f"The same rows of {BEFORE_REVISION}, run in the same rounds:\n")
        print_rows(before_table)
    lines = []

    def check(what, value, limit, unit=""):
        if value is None:
            lines.append(f"| {what} | n/a | {limit:g}{unit} | missing |")
            return
        verdict = "ok" if value <= limit else "MISSED"
        lines.append(f"| {what} | {value:.3g}{unit} | {limit:g}{unit} | {verdict} |")

    def get(name, key="cpu"):
        return table.get(name, {}).get(key)

    def ratio(a, b):
        return a / b if a is not None and b else None

    def note(what, value):
        shown = f"{value:.3g}" if value is not None else "n/a"
        lines.append(f"| {what} | {shown} | | for comparison |")

    for n in (1000, 10000, 100000):
        check(f"BM_UpdateMaterials/{n} / BM_PugixmlParse/{n}",
              ratio(get(f"BM_UpdateMaterials/{n}"), get(f"BM_PugixmlParse/{n}")), LOAD_LIMITS.get(n, float("inf")))
    # The loads that read no more files than before must cost 0.8 times what
    # they did before each file was read once per load: against the build
    # before in the same sitting, or else against the bare parse of the same
    # run, so that the machine's speed cancels out.
    for row, before in BEFORE_SHARING.items():
        for n, parse_ratio in before.items():
            name = f"{row}/{n}"
            if name in before_table:
                check(f"{name} / the same row of {BEFORE_REVISION}", ratio(get(name), before_table[name]["cpu"]), 0.8)
            else:
                check(f"{name} / BM_PugixmlParse/{n}", ratio(get(name), get(f"BM_PugixmlParse/{n}")),
                      round(0.8 * parse_ratio, 3))
    # What reading and loading the documents alone costs, before any record:
    # as often as the passes parse the files, and once per distinct file (the
    # floor of a load that shares its documents).
    for n in (10000, 100000):
        for row in ("BM_DocumentLoad", "BM_DocumentLoadOnce"):
            note(f"{row}/{n} / BM_PugixmlParse/{n}", ratio(get(f"{row}/{n}"), get(f"BM_PugixmlParse/{n}")))
    for row in ("BM_UpdateMaterials", "BM_UpdateMaterialsFlag1", "BM_CustomModified"):
        check(f"{row}: per material 100000 / 1000",
              ratio(get(f"{row}/100000", "per_material"), get(f"{row}/1000", "per_material")), 1.25)
    check("BM_UpdateMaterials/100000: peak resident / bytes of the files",
          get("BM_UpdateMaterials/100000", "rss_per_file_byte"), 3.5)
    miss = get("BM_GetMaterialMiss/100000", "per_material")
    check("BM_GetMaterialMiss/100000: per material searched", miss * 1e9 if miss else None, 5, " ns")
    search = get("BM_Search/100000", "per_material")
    check("BM_Search/100000: per material", search * 1e9 if search else None, 100, " ns")

    print("| ratio | measured | limit | |")
    print("|---|---|---|---|")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
