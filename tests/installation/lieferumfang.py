#!/usr/bin/env python3
"""The program folder holds the product and nothing else: the built folder, an installation made
from it and the release archive packed from it, each against the shipped list
dist/lieferumfang.txt."""

import os
import subprocess
import sys
import tarfile
import tempfile

HIER = os.path.dirname(os.path.abspath(__file__))
WURZEL = os.path.normpath(os.path.join(HIER, "..", ".."))
sys.path.insert(0, os.path.join(WURZEL, "tests", "e2e"))

import velmark_e2e as e2e  # noqa: E402

# What an installation adds to the program folder, and what the archive holds beside it.
INSTALLATION_DAZU = {"uninstall.sh", ".installation", "Daten.mdb", "programm.ver"}
ARCHIV_DAZU = {"tools/velmark-daten", "install.sh", "uninstall.sh", "pakete.sh", "LIESMICH.txt"}


def lieferumfang():
    with open(os.path.join(WURZEL, "dist", "lieferumfang.txt"), encoding="utf-8") as f:
        namen = [z.strip() for z in f if z.strip() and not z.startswith("#")]
    assert len(namen) == len(set(namen)), "ein Name steht doppelt in der Liste"
    return set(namen)


def vergleichen(was, vorhanden, erwartet):
    zuviel, fehlt = sorted(vorhanden - erwartet), sorted(erwartet - vorhanden)
    assert not zuviel and not fehlt, f"{was}: zu viel {zuviel}, es fehlt {fehlt}"


def programmordner(args):
    ordner = args.programmordner.rstrip("/")
    dateien, unterordner = set(), set()
    for name in os.listdir(ordner):
        pfad = os.path.join(ordner, name)
        (unterordner if os.path.isdir(pfad) and not os.path.islink(pfad) else dateien).add(name)
    vergleichen("build/Velmark", dateien, lieferumfang())
    # Beside them only the designer plugin, which stays in the build.
    assert unterordner <= {"designer"}, unterordner
    if unterordner:
        vergleichen("build/Velmark/designer", set(os.listdir(os.path.join(ordner, "designer"))),
                    {"libDownloaderPlugin.so"})


def installation_und_archiv(args):
    ordner = args.programmordner.rstrip("/")
    with tempfile.TemporaryDirectory(prefix="velmark-lieferumfang-") as temp:
        umgebung = dict(os.environ, HOME=temp, XDG_DATA_HOME=os.path.join(temp, "daten"),
                        XDG_CONFIG_HOME=os.path.join(temp, "konfig"))
        r = subprocess.run(["bash", os.path.join(WURZEL, "scripts", "install.sh"), ordner],
                           env=umgebung, capture_output=True, text=True, timeout=120)
        assert r.returncode == 0, f"install.sh: {r.returncode}\n{r.stdout}\n{r.stderr}"
        installiert = os.path.join(temp, "daten", "Quillon", "Velmark")
        vergleichen("Installation", set(os.listdir(installiert)),
                    lieferumfang() | INSTALLATION_DAZU)

        ablage = os.path.join(temp, "archiv")
        os.makedirs(ablage)
        r = subprocess.run(["bash", os.path.join(WURZEL, "scripts", "package.sh"), ordner, ablage],
                           env=umgebung, capture_output=True, text=True, timeout=120)
        assert r.returncode == 0, f"package.sh: {r.returncode}\n{r.stdout}\n{r.stderr}"
        archive = os.listdir(ablage)
        assert len(archive) == 1 and archive[0].endswith(".tar.gz"), archive
        with tarfile.open(os.path.join(ablage, archive[0])) as tar:
            namen = [m.name for m in tar.getmembers() if not m.isdir()]
        wurzel = {n.split("/", 1)[0] for n in namen}
        assert len(wurzel) == 1, wurzel
        inhalt = {n.split("/", 1)[1] for n in namen}
        vergleichen("Archiv", {n for n in inhalt if not n.startswith("Velmark/")}, ARCHIV_DAZU)
        vergleichen("Archiv Velmark/", {n[len("Velmark/"):] for n in inhalt
                                         if n.startswith("Velmark/")}, lieferumfang())


if __name__ == "__main__":
    e2e.ausfuehren([programmordner, installation_und_archiv])
