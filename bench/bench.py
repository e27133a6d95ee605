#!/usr/bin/env python3
"""Prints one table of figures beside their floors, measured in one run.

Run by scripts/bench; every row says how it was measured. Everything runs on a
private X server with a tray and the simulated mouse, so the figures never
depend on the user's own session or a running copy of the program.
"""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

BIN = sys.argv[1]
RUNS = int(os.environ.get("ORVANE_BENCH_RUNS", "7"))
IDLE_SECONDS = float(os.environ.get("ORVANE_BENCH_IDLE_SECONDS", "10"))
TITLE = "^ORVANE PRO Software$"
BARE_TITLE = "^Bare Qt window$"
WINDOW_TITLE = "ORVANE PRO Software"
BARE_WINDOW_TITLE = "Bare Qt window"
# Page buttons of the main window (left, top, width, height), as the skin lays
# them out.
PAGE_BUTTONS = [(176, 29, 126, 18), (316, 29, 171, 18), (500, 29, 126, 18),
                (641, 29, 128, 18), (781, 29, 71, 18)]

rows = []


def row(name, figure, floor, unit, how):
    ratio = f"{figure / floor:.2f}" if floor else "-"
    rows.append((name, figure, floor, unit, ratio, how))


def xdo(*words):
    return subprocess.run(["xdotool", *words], capture_output=True, text=True).stdout


def wait_for(done, patience=20.0, step=0.002):
    deadline = time.monotonic() + patience
    while not done():
        if time.monotonic() > deadline:
            return False
        time.sleep(step)
    return True


def visible(title):
    found = xdo("search", "--onlyvisible", "--name", title).split()
    return found[0] if found else ""


def stop(process):
    if process and process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def threads_switches(pid):
    """Context switches of all threads of `pid` so far."""
    total = 0
    task = f"/proc/{pid}/task"
    for tid in os.listdir(task):
        try:
            with open(f"{task}/{tid}/status") as status:
                for line in status:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass
    return total


def cpu_seconds(pid):
    """Time on a CPU of all threads of `pid` so far (the scheduler's own
    nanoseconds, finer than the tick counts of /proc/PID/stat)."""
    total = 0
    task = f"/proc/{pid}/task"
    for tid in os.listdir(task):
        try:
            with open(f"{task}/{tid}/schedstat") as stat:
                total += int(stat.read().split()[0])
        except FileNotFoundError:
            pass
    return total / 1e9


def resident_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS"):
                return int(line.split()[1]) / 1024
    return 0.0


def idle(pid, seconds):
    switches, cpu = threads_switches(pid), cpu_seconds(pid)
    time.sleep(seconds)
    return ((threads_switches(pid) - switches) / seconds,
            (cpu_seconds(pid) - cpu) / seconds * 1000, resident_mb(pid))


def click(window, x, y):
    shown = xdo("getwindowgeometry", "--shell", window)
    origin = dict(line.split("=") for line in shown.split() if "=" in line)
    xdo("mousemove", str(int(origin["X"]) + x), str(int(origin["Y"]) + y))
    xdo("click", "1")


def start_up(program, title):
    """Milliseconds from the start of `program` to the mapping of its window,
    as the X server reports it to a small watcher (nothing polls)."""
    out = subprocess.run([f"{BIN}/orvane-window-shown-timer", title, program],
                         capture_output=True, text=True)
    if out.returncode != 0:
        sys.exit(out.stderr.strip() or f"{program} showed no window")
    return float(out.stdout.strip())


def main():
    work = tempfile.mkdtemp()
    helpers = []
    try:
        run = os.path.join(work, "run")
        os.mkdir(run, 0o700)
        socket = os.path.join(run, "emu.sock")
        os.environ.update(XDG_DATA_HOME=os.path.join(work, "data"), XDG_RUNTIME_DIR=run,
                          TMPDIR=run, ORVANE_HID="emulator:" + socket, XDG_SESSION_TYPE="x11")
        for name in ("QT_QPA_PLATFORM", "XDG_CURRENT_DESKTOP"):
            os.environ.pop(name, None)
        read, write = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-noreset", "-nolisten", "tcp",
                                 "-screen", "0", "1280x800x24"], pass_fds=(write,),
                                stderr=subprocess.DEVNULL)
        helpers.append(xvfb)
        os.close(write)
        os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
        helpers.append(subprocess.Popen(
            ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width",
             "64", "--height", "32", "--SetDockType", "false", "--expand", "false"],
            stderr=subprocess.DEVNULL))
        helpers.append(subprocess.Popen([f"{BIN}/orvane-emud", "--socket", socket,
                                         "--foreground"]))
        wait_for(lambda: subprocess.run([f"{BIN}/orvane-emu", "--socket", socket, "dump"],
                                        capture_output=True).returncode == 0)
        wait_for(lambda: xdo("search", "--class", "trayer") != "")

        # Start-up: interleaved, so that both see the same machine.
        ours, bare = [], []
        for _ in range(RUNS):
            ours.append(start_up(f"{BIN}/OrvaneConfig", WINDOW_TITLE))
            bare.append(start_up(f"{BIN}/orvane-bare-window", BARE_WINDOW_TITLE))
        row("start-up to a visible main window", statistics.median(ours),
            statistics.median(bare), "ms",
            f"median of {RUNS} interleaved starts to the X server's MapNotify; floor: a bare Qt window of the same size")

        # Idle, shown and hidden. The floor of a program that waits is no
        # wake-up at all; a ratio against zero means nothing, so the floor is
        # the goal instead.
        app = subprocess.Popen([f"{BIN}/OrvaneConfig"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        wait_for(lambda: visible(TITLE) != "")
        time.sleep(3)  # the first reading of the mouse ends
        wakeups, cpu, rss = idle(app.pid, IDLE_SECONDS)
        how = f"all threads' context switches over {IDLE_SECONDS:g} s; goal as floor"
        row("idle, window shown: wake-ups", wakeups, 2, "/s", how)
        row("idle, window shown: CPU", cpu, 1, "ms/s", "threads' time on a CPU over the same time; goal")
        row("resident memory after start-up", rss, 60, "MB", "VmRSS; goal as floor")
        window = visible(TITLE)
        # Each page draws its background when first shown, so a visit shows in
        # the resident size; clicks that went nowhere would make the row a
        # second reading of the start-up figure.
        for attempt in range(3):
            for left, top, width, height in PAGE_BUTTONS:
                click(window, left + width // 2, top + height // 2)
                time.sleep(0.5)
            click(window, PAGE_BUTTONS[0][0] + 10, PAGE_BUTTONS[0][1] + 9)
            time.sleep(1)
            if resident_mb(app.pid) > rss + 4:
                break
        else:
            sys.exit("the page buttons did not answer the clicks; no memory row after every page")
        row("resident memory after every page", resident_mb(app.pid), 60, "MB",
            "VmRSS after clicking each page button; goal")
        stop(app)

        app = subprocess.Popen([f"{BIN}/OrvaneConfig", "--hidden"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        time.sleep(4)
        wakeups, cpu, rss = idle(app.pid, IDLE_SECONDS)
        row("idle, hidden in the tray: wake-ups", wakeups, 1, "/s", how)
        row("idle, hidden in the tray: CPU", cpu, 1, "ms/s", "threads' time on a CPU; goal")
        row("resident memory, hidden", rss, 60, "MB", "VmRSS; goal")
        stop(app)

        # The C++ benchmarks print rows of the same shape on their own.
        for program in sorted(os.listdir(BIN)):
            if program.startswith("orvane-bench-"):
                out = subprocess.run([f"{BIN}/{program}", "--socket", socket],
                                     capture_output=True, text=True)
                for line in out.stdout.splitlines():
                    if line.startswith("ROW\t"):
                        _, name, figure, floor, unit, how = line.split("\t")
                        row(name, float(figure), float(floor), unit, how)
                if out.returncode != 0:
                    print(out.stderr, file=sys.stderr)
    finally:
        for helper in reversed(helpers):
            stop(helper)
        shutil.rmtree(work, ignore_errors=True)

    print(f"{'figure':<44} {'measured':>10} {'floor':>10} {'unit':<5} {'ratio':>6}  how")
    for name, figure, floor, unit, ratio, how in rows:
        print(f"{name:<44} {figure:>10.1f} {floor:>10.1f} {unit:<5} {ratio:>6}  {how}")


if __name__ == "__main__":
    main()
