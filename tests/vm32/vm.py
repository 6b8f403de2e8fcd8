#!/usr/bin/env python3
"""A small virtual machine that runs 32-bit Wine on machines whose kernel
refuses 32-bit code: a Debian amd64 system under qemu's software emulation,
booted once for a whole batch of tests.

  vm.py image                       make the cached image if missing or stale
  vm.py tests PLAN WORKDIR          run the plan's tests inside, in one boot
  vm.py report WORKDIR NAME         print one test's output; exit with its status
  vm.py run-installer EXE OUTDIR    walk an install headless inside; PNGs to OUTDIR

The image lives in the system cache folder (PELLION_VM_CACHE, by default
/var/cache/pellion-vm32), outside every clone, in two layers keyed by a hash
of what makes them:
  base-<key>/                 root file system, kernel, initrd (build-base.sh)
  base-<key>/prefix-<key>.qcow2
                              the prepared Wine prefixes: a copy-on-write
                              layer over the base, made in a first boot
so that a change to the prefix harness remakes only the layer. Test boots run
with -snapshot and never change either. Every failure prints one line that
starts with "vm32: ".
"""

import contextlib
import fcntl
import hashlib
import json
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
SOURCE = HERE.parents[1]
HARNESS = SOURCE / "tests" / "harness"
CACHE = Path(os.environ.get("PELLION_VM_CACHE", "/var/cache/pellion-vm32"))
# Where the image keeps its prefix templates (wine_harness.py's layout).
GUEST_WINE_ROOT = "/var/lib/pellion/wine"

# The first boot's job: the i386 packages' set-up that the image build could
# not run (the host refuses 32-bit programs), then the prefix templates the
# tests copy: a 32-bit Windows, and a 64-bit one for WOW64. ({harness} is
# filled in at the boot: the layer's key must not depend on the clone's path.)
PREPARE = f"""set -e
dpkg --configure -a
python3 {{harness}}/wine_harness.py templates {GUEST_WINE_ROOT}
test -f {GUEST_WINE_ROOT}/win32/ready
test -f {GUEST_WINE_ROOT}/win64/ready
"""


class VmError(Exception):
    """A failure to build or boot the machine; str() is one line."""

    def __init__(self, line, details=""):
        super().__init__(line)
        self.details = details


def say(text):
    print(text, flush=True)


def digest(*parts):
    h = hashlib.sha256()
    for part in parts:
        h.update(part.read_bytes() if isinstance(part, Path) else part.encode())
        h.update(b"\0")
    return h.hexdigest()[:12]


def last_line(text):
    lines = [line.strip() for line in text.splitlines() if line.strip()]
    return lines[-1] if lines else ""


@contextlib.contextmanager
def cache_lock():
    """One builder at a time per machine; runs that find the image made wait."""
    try:
        CACHE.mkdir(parents=True, exist_ok=True)
        fh = open(CACHE / "lock", "w")
    except OSError as e:
        raise VmError(f"vm32: image build failed: the cache folder {CACHE} cannot be written "
                      f"({e.strerror}); building the image needs root") from e
    with fh:
        fcntl.flock(fh, fcntl.LOCK_EX)
        yield


# Image -------------------------------------------------------------------

def ensure_image():
    """The base folder and the prefix layer, made first where missing or
    stale (a key that no longer matches the scripts)."""
    base_key = digest(HERE / "build-base.sh", HERE / "guest-init")
    base = CACHE / f"base-{base_key}"
    layer_key = digest(base_key, PREPARE, HARNESS / "wineprefix.py", HARNESS / "wine_harness.py")
    layer = base / f"prefix-{layer_key}.qcow2"
    with cache_lock():
        if not (base / "ready").exists():
            for old in CACHE.glob("base-*"):
                shutil.rmtree(old, ignore_errors=True)
            say(f"vm32: building the base image in {base} (Debian's packages; about 6 min)")
            start = time.monotonic()
            r = subprocess.run(["bash", str(HERE / "build-base.sh"), str(base)],
                               stdout=subprocess.PIPE, text=True, check=False)
            if r.returncode != 0:
                line = last_line(r.stdout) or f"build-base.sh ended with status {r.returncode}"
                if not line.startswith("vm32: "):
                    line = f"vm32: image build failed: {line}"
                log = base / "build.log"
                tail = "\n".join(log.read_text(errors="replace").splitlines()[-25:]) if log.exists() else ""
                raise VmError(line, tail)
            (base / "ready").write_text(f"{time.monotonic() - start:.0f}\n")
            say(f"vm32: base image built in {time.monotonic() - start:.0f} s")
        elif (base / "packages.txt").exists():
            listed = base / "packages.txt"
            say(f"vm32: cached image {base.name}: packages sha256 "
                f"{hashlib.sha256(listed.read_bytes()).hexdigest()[:16]} ({listed})")
        if not layer.exists():
            for old in base.glob("prefix-*"):
                old.unlink()
            say("vm32: preparing the Wine prefixes in a first boot (about 3 min)")
            start = time.monotonic()
            part = base / f"prefix-{layer_key}.part"
            made = subprocess.run(["qemu-img", "create", "-q", "-f", "qcow2", "-F", "raw", "-b",
                                   str(base / "rootfs.img"), str(part)],
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            if made.returncode != 0:
                raise VmError(f"vm32: image build failed: prefix layer: {last_line(made.stdout)}")
            job = base / "prepare-job"
            shutil.rmtree(job, ignore_errors=True)
            job.mkdir()
            rc, log = boot(base, part, job, PREPARE.format(harness=HARNESS), shares=[SOURCE],
                           snapshot=False,
                           timeout=1500, what="image build failed: Wine prefixes")
            if rc != 0:
                raise VmError(f"vm32: image build failed: Wine prefixes: {last_line(log)}",
                              "\n".join(log.splitlines()[-25:]))
            part.rename(layer)
            shutil.rmtree(job, ignore_errors=True)
            say(f"vm32: Wine prefixes prepared in {time.monotonic() - start:.0f} s")
    return base, layer


def image_size(base):
    """Bytes the image takes on disk (its files are sparse)."""
    return sum(p.stat().st_blocks * 512 for p in base.iterdir() if p.is_file())


# Boots --------------------------------------------------------------------

def boot(base, disk, job, command, shares=(), snapshot=True, timeout=1800, what="boot failed"):
    """Boots the machine with `disk`, runs `command` (shell text) inside with
    the job folder at /job and each shared folder at its own path, and waits
    for the power-off. Answers (exit status, output) of the command; raises
    VmError when the machine did not boot or did not finish."""
    for program in ("qemu-system-x86_64", "qemu-img"):
        if not shutil.which(program):
            raise VmError(f"vm32: {what}: {program} is not installed (scripts/deps.sh installs it)")
    job = Path(job)
    for name in ("rc", "log"):
        (job / name).unlink(missing_ok=True)
    (job / "run").write_text(command)
    folders = []
    for path in map(Path, shares):
        if not any(path == f or f in path.parents for f in folders):
            folders.append(path)
    (job / "mounts").write_text("".join(f"share{i} {p}\n" for i, p in enumerate(folders)))
    console = job / "console.log"
    cpus = max(1, min(os.cpu_count() or 1, 4))
    drive = f"file={disk},format=qcow2,if=virtio,cache=unsafe"
    cmd = ["qemu-system-x86_64", "-accel", "tcg,thread=multi",
           # Without SMAP: the guest kernel otherwise faults on Wine's
           # 32-bit returns from the kernel under this emulation.
           "-cpu", "max,-smap", "-smp", str(cpus), "-m", "6G",
           "-kernel", str(base / "vmlinuz"), "-initrd", str(base / "initrd.img"),
           "-append", "root=/dev/vda rw console=ttyS0 init=/sbin/pellion-init panic=-1 quiet",
           "-drive", drive + (",snapshot=on" if snapshot else ""),
           "-virtfs", f"local,path={job},mount_tag=job,security_model=none",
           "-display", "none", "-monitor", "none", "-serial", f"file:{console}",
           "-no-reboot", "-nic", "none"]
    for i, path in enumerate(folders):
        cmd += ["-virtfs", f"local,path={path},mount_tag=share{i},security_model=none"]
    proc = subprocess.Popen(cmd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT)
    try:
        out, _ = proc.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        out, _ = proc.communicate()
        started = (job / "log").exists()
        raise VmError(f"vm32: {what}: " + (f"the job did not end within {timeout} s" if started
                      else f"no job started within {timeout} s; console: "
                           f"{last_line(_read(console))}"),
                      _tail(job / "log"))
    log = _read(job / "log")
    if not (job / "rc").exists():
        why = last_line(out.decode(errors="replace")) or last_line(_read(console)) \
            or f"qemu ended with status {proc.returncode}"
        raise VmError(f"vm32: {what}: the machine stopped before its job ended: {why}",
                      _tail(console))
    return int(_read(job / "rc").strip() or 1), log


def _read(path):
    try:
        return Path(path).read_text(errors="replace")
    except OSError:
        return ""


def _tail(path, n=25):
    return "\n".join(_read(path).splitlines()[-n:])


def guest_env_script(env):
    return "".join(f"export {k}='{v}'\n" for k, v in env.items())


# Commands ------------------------------------------------------------------

def cmd_image():
    start = time.monotonic()
    base, layer = ensure_image()
    say(f"vm32: image ready in {time.monotonic() - start:.0f} s: {layer}")
    say(f"vm32: image size on disk {image_size(base) / 2**30:.2f} GiB "
        f"(base {(base / 'rootfs.img').stat().st_blocks * 512 / 2**30:.2f} GiB, prefixes "
        f"{layer.stat().st_blocks * 512 / 2**30:.2f} GiB)")
    return 0


def cmd_tests(plan, workdir):
    """One boot for every test in PLAN; each one's output, status and time
    land in WORKDIR/job/results, which `report` reads."""
    plan, workdir = Path(plan).resolve(), Path(workdir).resolve()
    job = workdir / "job"
    shutil.rmtree(workdir, ignore_errors=True)
    (job / "results").mkdir(parents=True)
    shutil.copy(plan, job / "plan.json")
    shares = json.loads(plan.read_text())["shares"]
    start = time.monotonic()
    command = (f"cd {SOURCE}\n"
               f"exec {SOURCE}/scripts/with-display.sh python3 {HERE}/guest_tests.py "
               f"/job/plan.json /job/results\n")
    try:
        base, layer = ensure_image()
        rc, log = boot(base, layer, job, command, shares=[SOURCE, *shares], timeout=2400)
    except VmError as e:
        (workdir / "failed").write_text(str(e) + "\n")
        raise
    say(log.rstrip())
    say(f"vm32: one boot ran the tests in {time.monotonic() - start:.0f} s")
    if rc != 0:
        line = f"vm32: the test run inside ended with status {rc}: {last_line(log)}"
        (workdir / "failed").write_text(line + "\n")
        say(line)
        return 1
    return 0


def cmd_report(workdir, name):
    results = Path(workdir) / "job" / "results"
    status = results / f"{name}.rc"
    if not status.exists():
        why = _read(Path(workdir) / "failed").strip() or "the test machine did not run it"
        say(f"vm32: {name} did not run: {why}")
        return 1
    sys.stdout.write(_read(results / f"{name}.log"))
    rc, seconds = _read(status).split()
    say(f"[vm32: {name} ended with status {rc} after {seconds} s inside the test machine]")
    return int(rc)


def cmd_run_installer(exe, outdir):
    """Walks the whole install of the 32-bit installer headless in a 32-bit
    prefix inside the machine; the screenshots come back to OUTDIR."""
    exe, outdir = Path(exe).resolve(), Path(outdir).resolve()
    outdir.mkdir(parents=True, exist_ok=True)
    for old in outdir.glob("*.png"):
        old.unlink()
    base, layer = ensure_image()
    job = outdir.parent / "vm32-job"
    shutil.rmtree(job, ignore_errors=True)
    job.mkdir(parents=True)
    # The driver program comes from the same build (build/cross/tests/e2e).
    build = exe.parent.parent
    command = (guest_env_script({"RUN_ARCH": "win32", "PELLION_WINE_TEMPLATES": GUEST_WINE_ROOT})
               # On the templates' disk: the copy hard-links their system folders.
               + f"{SOURCE}/scripts/run-installer.sh {exe} /var/lib/pellion/run\n"
               f"cp /var/lib/pellion/run/screens/win32/*.png {outdir}/\n")
    say("vm32: booting the test machine (software emulation: a few minutes)")
    rc, log = boot(base, layer, job, command, shares=[SOURCE, build, outdir], timeout=900)
    say(log.rstrip())
    if rc != 0:
        say(f"vm32: the walk-through inside ended with status {rc}")
        return 1
    say(f"vm32: screenshots of the 32-bit installer in a 32-bit Windows in {outdir}")
    return 0


def main(argv):
    commands = {"image": (cmd_image, 0), "tests": (cmd_tests, 2), "report": (cmd_report, 2),
                "run-installer": (cmd_run_installer, 2)}
    if not argv or argv[0] not in commands or len(argv) - 1 != commands[argv[0]][1]:
        print(__doc__)
        return 2
    try:
        return commands[argv[0]][0](*argv[1:])
    except VmError as e:
        say(str(e))
        if e.details:
            say("details:\n" + e.details)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
