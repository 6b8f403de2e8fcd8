"""Wine prefixes for the Win32 and end-to-end tests.

A template prefix of each kind (win32: a 32-bit Windows; win64: this 32-bit
program under WOW64) is made once per test run; every scenario works on its
own copy, with its own HOME, so no scenario sees another's files and nothing
is written outside the copy.
"""

import functools
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

ARCHES = ("win32", "win64")
WINE64 = "/usr/lib/wine/wine64"


@functools.lru_cache(maxsize=None)
def _route():
    script = Path(__file__).resolve().parents[2] / "scripts" / "wine32.sh"
    r = subprocess.run(["sh", str(script), "--why"], stdout=subprocess.PIPE,
                       stderr=subprocess.DEVNULL, text=True)
    return r.returncode == 0, r.stdout.strip()


def runs_32bit_code():
    """Whether 32-bit Windows programs run here in native 32-bit Wine (in a
    32-bit prefix, and under WOW64 in a 64-bit one): a kernel that executes
    32-bit code and a 32-bit Wine that starts. scripts/wine32.sh decides, for
    the build as well. Elsewhere only 64-bit Wine works."""
    return _route()[0]


def why_no_32bit():
    """One line: why there is no native 32-bit Wine here ("" where there is)."""
    return _route()[1]


def available_arches():
    """The kinds of prefix this machine can run."""
    return ARCHES if runs_32bit_code() else ("win64",)


def program_bits():
    """32 or 64: the build whose programs the tests run (PELLION_BITS)."""
    return int(os.environ.get("PELLION_BITS", "32"))


def wine():
    """The Wine loader to start programs with."""
    return "wine" if runs_32bit_code() else WINE64
# Big, read-only folders are hard-linked into each copy instead of copied.
SHARED_DIRS = ("drive_c/windows/system32", "drive_c/windows/syswow64", "drive_c/windows/winsxs")
PROFILE_LINKS = ("Desktop", "Documents", "Downloads", "Music", "Pictures", "Videos", "Templates")


class WinebootError(RuntimeError):
    """wineboot could not make a prefix; the message is one line."""


def base_env(prefix, arch, home):
    # Wine refuses a relative WINEPREFIX, and wineboot then fails quietly.
    prefix, home = Path(prefix).absolute(), Path(home).absolute()
    env = {k: v for k, v in os.environ.items() if not k.startswith("WINE")}
    env.update(
        WINEPREFIX=str(prefix),
        WINEARCH=arch,
        HOME=str(home),
        WINEDEBUG="-all",
        # No .desktop files, no mono/gecko install prompts.
        WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=",
        # Wine takes the time zone and locale from each process.
        TZ="UTC",
        # C.UTF-8: Wine still gives en-US and code page 1252, and can store
        # file names outside that code page (with plain C it cannot).
        LC_ALL="C.UTF-8",
        XDG_CACHE_HOME=str(Path(home) / ".cache"),
        XDG_CONFIG_HOME=str(Path(home) / ".config"),
        XDG_DATA_HOME=str(Path(home) / ".local/share"),
    )
    if not runs_32bit_code():
        # Wine starts its helper programs through WINELOADER; the default
        # one is the 32-bit loader.
        env["WINELOADER"] = WINE64
    return env


def _quiet(cmd, env, timeout=180):
    # Background processes of Wine inherit our stdio: never hand them a pipe.
    subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=timeout, check=False)


def user_name():
    import getpass
    return getpass.getuser()


def _wineboot(base, prefix, arch, env):
    """Runs wineboot -i; raises WinebootError naming the prefix and Wine's
    last message when no prefix came of it."""
    log = base / "wineboot.log"
    with open(log, "wb") as fh:  # a file, never a pipe: see _quiet
        # Generous: in the emulated machine on a busy host it takes minutes.
        rc = subprocess.run([wine(), "wineboot", "-i"], env=env, stdin=subprocess.DEVNULL, stdout=fh,
                            stderr=subprocess.STDOUT, timeout=900, check=False).returncode
    _quiet(["wineserver", "-w"], env, timeout=120)
    if (prefix / "system.reg").exists():
        return
    lines = [line.strip() for line in log.read_text(errors="replace").splitlines() if line.strip()]
    why = lines[-1] if lines else f"exit code {rc}"
    raise WinebootError(f"wineboot could not make the {arch} prefix {prefix}: {why}")


def make_template(root, arch):
    """Creates root/<arch>/prefix with its scratch home; answers the prefix path."""
    base = Path(root).resolve() / arch
    if base.exists():
        shutil.rmtree(base)
    prefix, home = base / "prefix", base / "home"
    home.mkdir(parents=True)
    env = base_env(prefix, arch, home)
    _quiet(["wineserver", "-p10"], env)
    _wineboot(base, prefix, arch, env)
    # Without a window manager every hide of a top-level window stalls 2 s.
    _quiet([wine(), "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/t",
            "REG_SZ", "/d", "N", "/f"], env)
    _quiet(["wineserver", "-w"], env, timeout=120)
    # wineboot links the profile folders to $HOME: make them real folders so
    # that shortcuts and documents stay inside the prefix.
    profile = prefix / "drive_c" / "users" / user_name()
    for name in PROFILE_LINKS:
        p = profile / name
        if p.is_symlink():
            p.unlink()
        p.mkdir(parents=True, exist_ok=True)
    fonts = prefix / "drive_c" / "windows" / "Fonts"
    for ttf in ("tahoma.ttf", "tahomabd.ttf", "marlett.ttf"):
        src = Path("/usr/share/wine/fonts") / ttf
        if src.exists():
            shutil.copy(src, fonts / ttf)
    _quiet(["wineserver", "-k"], env)
    (base / "ready").write_text(arch)
    return prefix


def ensure_template(root, arch, say=print):
    """The template of ARCH under root, made on first use (for tools that run
    outside ctest, which makes the templates once per test run)."""
    root = Path(root).resolve()
    if not (root / arch / "ready").exists():
        say(f"making a {arch} Wine prefix (once) under {root} ...")
        (root / "scenarios").mkdir(parents=True, exist_ok=True)
        make_template(root, arch)
    return root


def template_path(root, arch):
    p = Path(root) / arch / "prefix"
    if not (Path(root) / arch / "ready").exists():
        raise RuntimeError(f"no {arch} template under {root}: run the wine_templates test first")
    return p


class Prefix:
    """A scenario's own copy of a template prefix."""

    def __init__(self, root, arch, name="scenario", keep=False, reuse_dir=None):
        """A fresh copy of the template, or with reuse_dir a lasting one that
        is made on first use and kept (for running the installer by hand)."""
        root = Path(root).resolve()
        self.arch = arch
        self.keep = keep or bool(reuse_dir) or bool(os.environ.get("KEEP_PREFIX"))
        if reuse_dir:
            self.dir = Path(reuse_dir).resolve()
        else:
            scenarios = Path(root) / "scenarios"
            self.dir = Path(tempfile.mkdtemp(prefix=f"{name}-{arch}-",
                                             dir=scenarios if scenarios.exists() else None))
        self.prefix = self.dir / "prefix"
        self.home = self.dir / "home"
        if not (self.prefix / "system.reg").exists():
            self.home.mkdir(parents=True, exist_ok=True)
            # Wine moves deleted files to the recycle bin only when the trash
            # folder already exists; without it, FOF_ALLOWUNDO deletes for good.
            (self.home / ".local/share/Trash/files").mkdir(parents=True, exist_ok=True)
            self._copy(template_path(root, arch), self.prefix)
        self.env = base_env(self.prefix, arch, self.home)
        self.user = user_name()
        _quiet(["wineserver", "-p10"], self.env)
        # The first wine process starts the prefix's services with our stdio.
        _quiet([wine(), "cmd", "/c", "exit"], self.env, timeout=120)

    @staticmethod
    def _copy(src, dst):
        def ignore(d, names):
            rel = os.path.relpath(d, src)
            return [n for n in names if os.path.join(rel, n).lstrip("./") in SHARED_DIRS]
        shutil.copytree(src, dst, symlinks=True, ignore=ignore)
        for rel in SHARED_DIRS:
            if (src / rel).exists():
                subprocess.run(["cp", "-al", str(src / rel), str(dst / rel)], check=True)

    # Paths -------------------------------------------------------------
    def host(self, winpath):
        """Host path of a C:\\ path inside this prefix."""
        assert winpath[1:3] == ":\\" and winpath[0].lower() == "c", winpath
        return self.prefix / "drive_c" / winpath[3:].replace("\\", "/")

    @property
    def desktop(self):
        return self.prefix / "drive_c" / "users" / self.user / "Desktop"

    @property
    def program_files(self):
        # A 32-bit program sees the 32-bit Program Files folder.
        wow64 = self.arch == "win64" and program_bits() == 32
        name = "Program Files (x86)" if wow64 else "Program Files"
        return self.prefix / "drive_c" / name

    # Processes ---------------------------------------------------------
    def install_copy(self, exe, folder="C:\\cd"):
        """Copies a program into the prefix (as if run from a CD or a download
        folder) and answers its Windows path. Running it by its Unix path would
        put that path (/tmp/..., with a "/t" in it) into its command line."""
        dest = self.host(folder + "\\" + Path(exe).name)
        dest.parent.mkdir(parents=True, exist_ok=True)
        # A new file moved into place: rewriting the file of a program that
        # is still running from it (a second copy of a host, say) would pull
        # its mapped pages from under it.
        part = dest.with_name(dest.name + ".part")
        shutil.copy(exe, part)
        os.replace(part, dest)
        return folder + "\\" + Path(exe).name

    def spawn(self, exe, *args, out=None):
        out = out or (self.dir / f"out-{time.monotonic_ns()}.txt")
        fh = open(out, "wb")
        p = subprocess.Popen([wine(), str(exe), *map(str, args)], env=self.env,
                             stdin=subprocess.DEVNULL, stdout=fh, stderr=subprocess.STDOUT)
        p.output_path = out
        fh.close()
        return p

    def run(self, exe, *args, timeout=120):
        """Runs a program to its end; answers (exit code, output text)."""
        p = self.spawn(exe, *args)
        try:
            rc = p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            p.kill()
            raise
        return rc, Path(p.output_path).read_text(errors="replace")

    def reg_add(self, key, value, data, kind="REG_SZ", view64=False):
        cmd = [wine(), "reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f"]
        if value is None:
            cmd = [wine(), "reg", "add", key, "/ve", "/t", kind, "/d", data, "/f"]
        if view64:
            cmd.append("/reg:64")
        _quiet(cmd, self.env)

    def set_dpi(self, dpi):
        """The prefix's screen at `dpi` (LogPixels) for the programs started
        from now on."""
        self.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", str(dpi), kind="REG_DWORD")
        self.kill_server()

    def kill_server(self):
        _quiet(["wineserver", "-k"], self.env)

    def close(self):
        self.kill_server()
        if not self.keep:
            shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
