#!/usr/bin/python3
"""Runs the benchmark: generates the data, then runs every timed work of the
program beside its raw baseline, each run in a fresh program folder and a
process of its own, and prints the table. ./bench builds and calls this.

    run_bench.py --build DIR [--runs N] [--only WORK,...] [--reuse-data] [--keep]

Works: workflow, intake, tabclick, leadfile, startup.
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
MAX_DATA_AGE_SECONDS = 45 * 60

WORKS = [
    # name, title, baseline (what runs it), messages the work is expected to show
    ("workflow", "Process Workflows, 100,000 contacts, none due", "python",
     ["All Prospects Have Been Processed"]),
    ("intake", "mail intake, 10,000 messages", "c", []),
    ("tabclick", "tab click (unread check), 10,000 filed", None, []),
    ("leadfile", "lead file, 100,000 lines into 100,000 contacts", "python",
     ["All import sources have been integrated."]),
    ("startup", "start-up, contact list of 100,000 drawn", "python", []),
]

# The counts program and baseline must agree on, so both did the same work.
SAME_COUNTS = {"intake": ["events", "unmatched", "new_contacts", "attachments"],
               "leadfile": ["new_contacts"], "workflow": ["postings"], "startup": ["listed"]}


def log(text):
    print(text, file=sys.stderr, flush=True)


class Bench:
    def __init__(self, args):
        self.build = os.path.abspath(args.build)
        self.runs = args.runs
        self.keep = args.keep
        self.data = os.path.join(self.build, "bench-data")
        self.work_root = os.path.join(self.build, "bench-runs")
        self.program = os.path.join(self.build, "benchmark", "brackenlead_bench")
        self.intake_baseline = os.path.join(self.build, "benchmark", "intake_baseline")
        self.results = {}
        self.warnings = []
        self.filed_database = None
        self.env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self.env.pop("DISPLAY", None)

    # ---- data ---------------------------------------------------------------------
    def generate(self, reuse):
        manifest = os.path.join(self.data, "manifest.json")
        if reuse and os.path.exists(manifest):
            with open(manifest) as f:
                made = time.mktime(time.strptime(json.load(f)["generated"], "%Y-%m-%d %H:%M:%S"))
            # The data's dates are laid from the moment it was made: an hour on,
            # workflow steps fall due and the run would post them, a second each.
            if time.time() - made > MAX_DATA_AGE_SECONDS:
                log("The data is older than 45 minutes: its workflow steps are falling due. Generating it again.")
                reuse = False
        if reuse and os.path.exists(manifest):
            log(f"Reusing the data in {self.data}")
        else:
            log("Generating 100,000 contacts, 300,000 events, 10,000 messages and a 100,000-line lead file...")
            begin = time.time()
            subprocess.run([sys.executable, os.path.join(HERE, "generate.py"),
                            os.path.join(self.build, "data2000.mdb"), self.data], check=True)
            log(f"  done in {time.time() - begin:.0f} s")
        with open(manifest) as f:
            self.manifest = json.load(f)

    def folder(self, name, database=None):
        """A fresh program folder with a copy of the database."""
        path = os.path.join(self.work_root, name)
        if os.path.exists(path):
            shutil.rmtree(path)
        os.makedirs(os.path.join(path, "Attachments"))
        os.makedirs(os.path.join(path, "tmp", "xdg"), mode=0o700)
        shutil.copyfile(database or os.path.join(self.data, "data2000.mdb"), os.path.join(path, "data2000.mdb"))
        return path

    # ---- one run ------------------------------------------------------------------------
    def run(self, command, folder, environment=None):
        env = dict(self.env, **(environment or {}))
        with open(os.path.join(folder, "output.log"), "w") as output:
            done = subprocess.run(command, cwd=folder, env=env, stdout=subprocess.PIPE, stderr=output, text=True,
                                  timeout=1800)
        for line in done.stdout.splitlines():
            if line.startswith("BENCH_RESULT "):
                result = json.loads(line[len("BENCH_RESULT "):])
                if done.returncode != 0 and not result.get("error"):
                    result["error"] = f"exit status {done.returncode}"
                return result
        with open(os.path.join(folder, "output.log")) as f:
            tail = f.read()[-2000:]
        return {"error": f"no result (exit status {done.returncode}): {tail}"}

    def run_program(self, work, index, database=None):
        folder = self.folder(f"{work}-program-{index}", database)
        tmp = os.path.join(folder, "tmp")
        result = self.run([self.program, work, "--folder", folder, "--maildir", os.path.join(self.data, "Maildir"),
                           "--empty-maildir", os.path.join(self.data, "Maildir-empty")], folder,
                          {"QT_QPA_PLATFORM": "offscreen", "TMPDIR": tmp,
                           "XDG_RUNTIME_DIR": os.path.join(tmp, "xdg")})
        return folder, result

    def run_baseline(self, work, kind, index):
        folder = self.folder(f"{work}-baseline-{index}")
        if kind == "c":
            command = [self.intake_baseline, os.path.join(self.data, "Maildir"), folder]
        else:
            command = ["/usr/bin/python3", os.path.join(HERE, "baselines.py"), work, folder]
        return folder, self.run(command, folder)

    def done_with(self, folder):
        if not self.keep:
            shutil.rmtree(folder, ignore_errors=True)

    # ---- the works ----------------------------------------------------------------------
    def filed(self):
        """A database holding every message of the store, filed by the program."""
        if self.filed_database:
            return self.filed_database
        log("  filing the mail store once for the tab clicks (not timed)...")
        folder, result = self.run_program("intake", "filing")
        if result.get("error"):
            raise SystemExit("The intake that files the store for the tab clicks failed: " + result["error"])
        self.keep_filed(folder)
        self.done_with(folder)
        return self.filed_database

    def keep_filed(self, folder):
        self.filed_database = os.path.join(self.data, "filed.mdb")
        shutil.copyfile(os.path.join(folder, "data2000.mdb"), self.filed_database)

    def run_work(self, work, title, baseline, expected):
        log(f"{title}:")
        entry = {"title": title, "program": [], "baseline": []}
        self.results[work] = entry
        for index in range(1, self.runs + 1):
            database = self.filed() if work == "tabclick" else None
            folder, result = self.run_program(work, index, database)
            self.check_messages(work, result, expected)
            entry["program"].append(result)
            log(f"  program  run {index}: " + self.describe(result))
            if work == "intake" and not self.filed_database and not result.get("error"):
                self.keep_filed(folder)
            self.done_with(folder)
            if baseline:
                folder, result = self.run_baseline(work, baseline, index)
                entry["baseline"].append(result)
                log(f"  baseline run {index}: " + self.describe(result))
                self.done_with(folder)
        self.check_counts(work, entry)

    @staticmethod
    def describe(result):
        if result.get("error"):
            return "FAILED: " + result["error"]
        text = f"{result['seconds']:.3f} s"
        if "stall_ms" in result:
            text += f", stall {result['stall_ms']:.0f} ms"
        return text + f", peak {result['peak_kib'] / 1024:.0f} MiB " + json.dumps(result.get("extra", {}))

    def check_messages(self, work, result, expected):
        for message in result.get("messages", []):
            if not any(message.startswith(e) for e in expected):
                self.warnings.append(f"{work}: the program said \"{message.strip()}\"")

    def check_counts(self, work, entry):
        for key in SAME_COUNTS.get(work, []):
            program = {r["extra"].get(key) for r in entry["program"] if not r.get("error")}
            baseline = {r["extra"].get(key) for r in entry["baseline"] if not r.get("error")}
            if program and baseline and program != baseline:
                self.warnings.append(f"{work}: {key} differ, program {sorted(program)} and baseline {sorted(baseline)}")
        if work == "tabclick":
            for r in entry["program"]:
                if not r.get("error") and r["extra"].get("filed_again"):
                    self.warnings.append("tabclick: the start-up fetch filed messages again; the store should be filed")
        if work == "workflow":
            for r in entry["program"]:
                if not r.get("error") and r["extra"].get("postings"):
                    self.warnings.append("workflow: the run posted steps; the data should have none due")

    # ---- the table ------------------------------------------------------------------------
    @staticmethod
    def good(results):
        return [r for r in results if not r.get("error")]

    def figure(self, results):
        good = self.good(results)
        if not good:
            return None, "failed" if results else "-"
        values = [r["seconds"] for r in good]
        median = statistics.median(values)
        text = seconds_text(median)
        if len(values) > 1:
            # The range in the median's unit.
            scale, digits = (1000, 0) if median < 1 else (1, 2)
            text += f" [{min(values) * scale:.{digits}f}-{max(values) * scale:.{digits}f}]"
        if len(good) < len(results):
            text += f" ({len(results) - len(good)} failed)"
        return median, text

    def table(self):
        rows = [("work", "program", "baseline", "ratio", "longest stall", "peak memory: program (work's growth) / baseline")]
        for work, title, *_ in WORKS:
            if work not in self.results:
                continue
            entry = self.results[work]
            program, program_text = self.figure(entry["program"])
            baseline, baseline_text = self.figure(entry["baseline"])
            ratio = f"{program / baseline:.2f}" if program is not None and baseline else "-"
            good = self.good(entry["program"])
            stall = f"{max(r['stall_ms'] for r in good):.0f} ms" if good else "-"
            memory = "-"
            if good:
                worst = max(good, key=lambda r: r["peak_kib"])
                memory = f"{worst['peak_kib'] / 1024:.0f} MiB (+{(worst['peak_kib'] - worst['before_kib']) / 1024:.0f})"
            base_good = self.good(entry["baseline"])
            if base_good:
                memory += f" / {max(r['peak_kib'] for r in base_good) / 1024:.0f} MiB"
            rows.append((title, program_text, baseline_text, ratio, stall, memory))
        widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
        lines = []
        for n, row in enumerate(rows):
            lines.append("  ".join(cell.ljust(widths[i]) if i in (0, 1, 2) else cell.rjust(widths[i]) if i in (3, 4)
                                   else cell for i, cell in enumerate(row)).rstrip())
            if n == 0:
                lines.append("  ".join("-" * w for w in widths))
        return lines

    def bounds(self):
        """The bounds the program is held to, each with what this run measured."""
        checks = []

        def median(work, side="program", key=None):
            good = self.good(self.results.get(work, {}).get(side, []))
            if not good:
                return None
            return statistics.median(r["seconds"] if key is None else r["extra"][key] for r in good)

        def worst(work, field):
            good = self.good(self.results.get(work, {}).get("program", []))
            return max((r[field] if field in r else r["extra"][field]) for r in good) if good else None

        def check(text, value, limit, unit, scale=1.0):
            if value is None:
                return
            number = value * scale
            shown = (f"{number:.0f}" if number >= 100 else f"{number:.3g}") + f" {unit}" if unit else f"{value:.2f}"
            checks.append(f"{'ok  ' if value <= limit else 'OVER'}  {text}: {shown}")

        check("Process Workflows at most 1 s (goal 0.5 s)", median("workflow"), 1.0, "s")
        check("Process Workflows: no stall over 100 ms", worst("workflow", "stall_ms"), 100, "ms")
        intake, base = median("intake"), median("intake", "baseline")
        if intake is not None and base:
            check("mail intake at most 1.3 x the C/GMime baseline", intake / base, 1.3, "")
        check("mail intake: no stall over 100 ms", worst("intake", "stall_ms"), 100, "ms")
        check("mail intake: memory after it within 30 MiB of before", worst("intake", "kept_kib"), 30 * 1024, "MiB",
              1 / 1024)
        check("tab click at most 10 ms", worst("tabclick", "seconds"), 0.010, "ms", 1000)
        check("start-up fetch over 10,000 filed messages at most 0.2 s",
              median("tabclick", key="start_up_fetch_seconds"), 0.2, "s")
        check("lead file at most 8 s (goal: under the baseline)", median("leadfile"), 8.0, "s")
        check("lead file: no stall over 100 ms", worst("leadfile", "stall_ms"), 100, "ms")
        check("start-up: contact list drawn within 0.7 s (goal: under the baseline)", median("startup"), 0.7, "s")
        check("start-up: no stall over 100 ms once the window is shown", worst("startup", "stall_ms"), 100, "ms")
        return checks

    def notes(self):
        notes = []
        for work, key, text, scale, unit in [
                ("intake", "kept_kib", "mail intake: resident memory kept after it", 1 / 1024, "MiB"),
                ("tabclick", "start_up_fetch_seconds", "start-up fetch over the 10,000 filed messages", 1, "s"),
                ("startup", "window_shown_seconds", "start-up: main window shown after", 1, "s"),
                ("startup", "first_paint_seconds", "start-up: main window first drawn after", 1, "s"),
                ("startup", "start_up_returned_seconds", "start-up: Start_Up() returned after (its pauses included)", 1, "s")]:
            good = self.good(self.results.get(work, {}).get("program", []))
            if good:
                values = [r["extra"][key] * scale for r in good if key in r["extra"]]
                if values:
                    notes.append(f"{text}: {statistics.median(values):.3g} {unit} (median)")
        good = self.good(self.results.get("tabclick", {}).get("program", []))
        if good:
            clicks = [c for r in good for c in r["extra"].get("click_seconds", [])]
            notes.append(f"tab clicks: {len(clicks)} timed, {min(clicks) * 1000:.0f}-{max(clicks) * 1000:.0f} ms "
                         "(the table shows the slowest click of each run)")
        return notes

    def report(self):
        m = self.manifest
        lines = [f"Brackenlead benchmark, {time.strftime('%Y-%m-%d %H:%M')}, {os.cpu_count()} cores, release build",
                 f"data: {m['contacts']:,} contacts ({m['running']:,} running), {m['events']:,} events, "
                 f"{m['messages']:,} messages, {m['lead_lines']:,} lead lines, seed {m['seed']}",
                 f"times: median of {self.runs} run{'s' if self.runs != 1 else ''} [range]; stall and memory: the worst run", ""]
        lines += self.table()
        lines += ["", "Bounds:"] + ["  " + c for c in self.bounds()]
        lines += ["", "Notes:"] + ["  " + n for n in self.notes()]
        if self.warnings:
            lines += ["", "Warnings:"] + ["  " + w for w in dict.fromkeys(self.warnings)]
        return "\n".join(lines)


def seconds_text(value):
    return f"{value * 1000:.0f} ms" if value < 1 else f"{value:.2f} s"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, help="the bench build folder (build-bench)")
    parser.add_argument("--runs", type=int, default=3, help="runs of each work and of its baseline (3)")
    parser.add_argument("--only", default="", help="comma-separated works to run (all)")
    parser.add_argument("--reuse-data", action="store_true",
                        help="keep the data of the last run (made less than 45 minutes ago) instead of generating")
    parser.add_argument("--keep", action="store_true", help="keep each run's program folder in bench-runs/")
    args = parser.parse_args()
    names = [w[0] for w in WORKS]
    only = [w for w in args.only.split(",") if w]
    for w in only:
        if w not in names:
            parser.error(f"unknown work {w}; the works are {', '.join(names)}")
    bench = Bench(args)
    if os.path.exists(bench.work_root):
        shutil.rmtree(bench.work_root)
    bench.generate(args.reuse_data)
    begin = time.time()
    for work, title, baseline, expected in WORKS:
        if not only or work in only:
            bench.run_work(work, title, baseline, expected)
    report = bench.report()
    print(report)
    with open(os.path.join(bench.build, "bench-results.json"), "w") as f:
        json.dump({"manifest": bench.manifest, "results": bench.results, "warnings": bench.warnings}, f, indent=1)
    with open(os.path.join(bench.build, "bench-table.txt"), "w") as f:
        f.write(report + "\n")
    log(f"\nRuns took {time.time() - begin:.0f} s; table in {bench.build}/bench-table.txt, "
        f"every measure in {bench.build}/bench-results.json")
    failed = any(r.get("error") for e in bench.results.values() for r in e["program"] + e["baseline"])
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
