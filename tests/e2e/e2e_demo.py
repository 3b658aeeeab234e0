#!/usr/bin/env python3
"""The README's demo as a household member with an installation of their own meets it: their
settings file stays byte for byte, the demo's zamlo books into the demo folder with the demo's
counter, nothing lands in the user's settings or runtime folders; and on a desktop without a
notification area demo.sh and zamlo say so."""

import os
import subprocess

import velmark_e2e as e2e
from buchungsschritte import ausgabe_eintippen, buchungen, dialog_oeffnen, name_muster, ok_und_zu

WURZEL = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
DEMO = os.path.join(WURZEL, "scripts", "demo.sh")

# A household's own settings: sign-in with password, another default user, Anna's counter at 17.
EIGENE_EINSTELLUNGEN = (
    "REGEDIT4\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark]\r\n"
    "\"Kennwort\"=\"1\"\r\n\"Standard\"=\"0\"\r\n\"Benutzer\"=\"Carla\"\r\n"
    "\"Autostart\"=dword:00000001\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark\\Anna]\r\n\"ID\"=\"17\"\r\n").encode()


def demo_machen(s, ordner):
    r = subprocess.run(["bash", DEMO, s.gebaut, ordner], env=s.umgebung, capture_output=True,
                       text=True, timeout=180, stdin=subprocess.DEVNULL)
    assert r.returncode == 0, f"demo.sh: {r.returncode}\n{r.stdout}\n{r.stderr}"
    return r.stdout


def demo_mit_eigenen_einstellungen(args):
    with e2e.Sitzung("demo", args.programmordner, args.werkzeuge, args.ausgabe, demo=False) as s:
        eigene = os.path.join(s.config, "Quillon", "Velmark.reg")
        os.makedirs(os.path.dirname(eigene))
        with open(eigene, "wb") as f:
            f.write(EIGENE_EINSTELLUNGEN)
        demo = os.path.join(s.temp, "Demo")

        # The demo command on its own refuses the user's settings and writes nothing at all.
        r = subprocess.run([os.path.join(args.werkzeuge, "velmark-daten"), "demo", demo],
                           env=s.umgebung, capture_output=True, text=True, timeout=60)
        assert r.returncode == 1 and "ändert keine vorhandenen Einstellungen" in r.stderr, r
        assert not os.path.exists(demo)

        ausgabe = demo_machen(s, demo)
        assert "Symbol ist im Infobereich" in ausgabe, ausgabe
        starter = os.path.join(demo, "zamlo-demo")
        assert f"Erneut starten (mit den Einstellungen der Demo): {starter}" in ausgabe, ausgabe
        assert os.access(starter, os.X_OK)

        symbol = s.tray_symbol("zamlo")
        anna = os.path.join(demo, "Anna.mdb")
        vorher = len(buchungen(s, anna))
        dialog_oeffnen(s, symbol, "a", 359)
        ausgabe_eintippen(s, "7,25", "Semmeln", "Lebensmittel")
        ok_und_zu(s, 359)
        zeilen = buchungen(s, anna)
        assert len(zeilen) == vorher + 1, zeilen
        # Numbered by the demo's counter (5), not by the household's (17).
        assert zeilen[-1][:3] == (6, "Girokonto", "Ausgabe") and zeilen[-1][4] == 7.25, zeilen[-1]
        with open(os.path.join(demo, "Umgebung", "einstellungen", "Quillon", "Velmark.reg"),
                  encoding="utf-8") as f:
            assert "\"ID\"=\"6\"" in f.read()

        with open(eigene, "rb") as f:
            assert f.read() == EIGENE_EINSTELLUNGEN, "die eigenen Einstellungen sind verändert"
        assert os.listdir(os.path.dirname(eigene)) == ["Velmark.reg"]
        assert os.listdir(s.config) == ["Quillon"]
        assert os.listdir(s.laufzeit) == [], os.listdir(s.laufzeit)

        # Without a notification area: demo.sh says so, and zamlo shows its note.
        s.icewm.terminate()
        e2e.beendet(s.icewm)
        e2e.warten(lambda: not s.x11.selektionsbesitzer("_NET_SYSTEM_TRAY_S0"),
                   "kein Infobereich mehr")
        ausgabe = demo_machen(s, os.path.join(s.temp, "Demo2"))
        assert "keinen Infobereich" in ausgabe, ausgabe
        s.fenster_abwarten(name=name_muster(s.sprachtext(3160)), zeit=40)
        s.bildschirmfoto("ohne-infobereich")


if __name__ == "__main__":
    e2e.ausfuehren([demo_mit_eigenen_einstellungen])
