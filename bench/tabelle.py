#!/usr/bin/env python3
"""The table of the benchmarks: each figure's median, its reference's median from the same run,
the ratio, the goal and whether it is met. Reads the JSON of velmark-bench (Google Benchmark,
with repetitions) and of tray.py. A figure whose program part is not built yet is listed with its
reference and "noch nicht gemessen"; a goal is never asserted, the table only reports.

    tabelle.py BENCH.json TRAY.json
"""

import json
import statistics
import sys

# Kinds of goal: the figure's time at most `ziel` times the reference's ("zeit"); its throughput
# at least `ziel` times the reference's ("durchsatz"); its memory at most `ziel` times ("speicher");
# an absolute time limit in milliseconds ("grenze").
ZEILEN = [
    ("Ausgabedialog bereit (laden, Listen füllen, gezeigt)", "Ausgabedialog_bereit",
     "Referenz_Ausgabelisten_roh", "sqlite3: dieselben Listen", "zeit", 2.0),
    ("Buchung dauerhaft (OK bis Zeile auf der Platte)", "Buchung_dauerhaft",
     "Referenz_Insert_roh", "sqlite3: INSERT in eigener Transaktion", "zeit", 1.5),
    ("Vervollständigung: ein Tastendruck, 10.000 Einträge", "Vervollstaendigung_Tastendruck",
     "Referenz_Vervollstaendigung_Praefixsuche", "Präfixsuche in 10.000 Texten", "grenze", 1.0),
    ("Kategoriedialog mit 500 Kategorien öffnen", "Kategoriedialog_oeffnen",
     "Referenz_Kategorien_lesen_roh", "sqlite3: SELECT", "zeit", 2.0),
    ("Kategoriedialog speichern (500 Kategorien)", "Kategoriedialog_speichern",
     "Referenz_Kategorien_speichern_roh", "sqlite3: DELETE + INSERT, eine Transaktion", "zeit",
     2.0),
    ("1.000 Buchungen verschieben", "Verschieben_1000", "Referenz_Verschieben_roh",
     "sqlite3: UPDATE, eine Transaktion", "zeit", 2.0),
    ("kvasto: 100.000 Buchungen öffnen (Liste, Summen, Diagramm)", "Kvasto_100000_Buchungen",
     "Referenz_Buchungen_lesen_roh", "sqlite3: SELECT aller Buchungen", "zeit", 2.0),
    ("update: 64 MiB vom lokalen Server", "Update_64MiB", "Referenz_curl_64MiB",
     "curl, derselbe Server", "durchsatz", 0.7),
    ("Downloader::DownloadText: 8 MiB", "DownloadText_8MiB", "Referenz_curl_8MiB",
     "curl, derselbe Server", "durchsatz", 0.5),
    ("zamlo: Start bis Symbol im Infobereich", "tray:zamlo:start_ms",
     "tray:referenz:start_ms", "Qt-Programm mit einem QSystemTrayIcon", "zeit", 1.5),
    ("zamlo: belegter Speicher nach 10 s Ruhe", "tray:zamlo:rss_kb", "tray:referenz:rss_kb",
     "Qt-Programm mit einem QSystemTrayIcon", "speicher", 1.3),
    ("10.000 Sprachtexte aus 2.000 Zeilen (Cache)", "Sprachtexte_10000",
     "Referenz_Sprachtexte_QHash", "QHash mit denselben Texten", "grenze", 5.0),
]


def zahl(x, stellen=2):
    return f"{x:,.{stellen}f}".replace(",", "_").replace(".", ",").replace("_", ".")


def dauer(ms):
    if ms >= 100:
        return f"{zahl(ms, 0)} ms"
    if ms >= 1:
        return f"{zahl(ms, 1)} ms"
    return f"{zahl(ms * 1000, 0)} µs"


def bench_mediane(pfad):
    """Median time per iteration in milliseconds, by benchmark name; None when it failed."""
    try:
        with open(pfad) as f:
            daten = json.load(f)
    except (OSError, ValueError):
        return {}
    zeiten = {}
    einzeln = {}
    faktor = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}
    for b in daten.get("benchmarks", []):
        name = b.get("run_name", b["name"]).split("/")[0]
        if b.get("error_occurred"):
            zeiten[name] = None
            continue
        wert = b["real_time"] * faktor[b.get("time_unit", "ns")]
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                zeiten[name] = wert
        else:
            einzeln.setdefault(name, []).append(wert)
    for name, werte in einzeln.items():
        zeiten.setdefault(name, statistics.median(werte))
    return zeiten


def tray_mediane(pfad):
    try:
        with open(pfad) as f:
            daten = json.load(f)
    except (OSError, ValueError):
        return {}
    werte = {}
    for programm, messungen in daten.items():
        for groesse, liste in messungen.items():
            if liste:
                werte[f"tray:{programm}:{groesse}"] = statistics.median(liste)
    return werte


def anzeigen(wert, art):
    if art == "speicher":
        return f"{zahl(wert / 1024, 1)} MiB"
    return dauer(wert)


def zeile(bezeichnung, messung, referenz, refname, art, ziel, werte):
    ref = werte.get(referenz)
    ref_text = (anzeigen(ref, art) + f" ({refname})") if ref is not None else \
        f"fehlt ({refname})"
    ziel_text = {"zeit": f"≤ {zahl(ziel)}", "speicher": f"≤ {zahl(ziel)}",
                 "durchsatz": f"≥ {zahl(ziel)}", "grenze": f"< {dauer(ziel)}"}[art]
    if messung not in werte:
        return [bezeichnung, "noch nicht gemessen", ref_text, "–", ziel_text, "–"]
    wert = werte[messung]
    if wert is None:
        return [bezeichnung, "fehlgeschlagen", ref_text, "–", ziel_text, "nein"]
    if art == "grenze":
        verhaeltnis = wert / ref if ref else None
        erreicht = wert < ziel
    elif ref is None or ref <= 0:
        return [bezeichnung, anzeigen(wert, art), ref_text, "–", ziel_text, "–"]
    elif art == "durchsatz":
        verhaeltnis = ref / wert  # throughput of the figure over the reference's
        erreicht = verhaeltnis >= ziel
    else:
        verhaeltnis = wert / ref
        erreicht = verhaeltnis <= ziel
    return [bezeichnung, anzeigen(wert, art), ref_text,
            zahl(verhaeltnis) if verhaeltnis is not None else "–", ziel_text,
            "ja" if erreicht else "nein"]


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    werte = bench_mediane(sys.argv[1])
    werte.update(tray_mediane(sys.argv[2]))
    kopf = ["Messgröße", "Median", "Referenz (Median)", "Verhältnis", "Ziel", "erreicht"]
    zeilen = [zeile(*z, werte) for z in ZEILEN]
    breiten = [max(len(r[i]) for r in [kopf] + zeilen) for i in range(len(kopf))]

    def drucken(r):
        print("| " + " | ".join(t.ljust(b) for t, b in zip(r, breiten)) + " |")

    drucken(kopf)
    print("|" + "|".join("-" * (b + 2) for b in breiten) + "|")
    for r in zeilen:
        drucken(r)
    print()
    print("Verhältnis: Zeit der Messung durch Zeit der Referenz; beim Durchsatz der der Messung "
          "durch den der Referenz; beim Speicher belegter Speicher durch den der Referenz. "
          "Ziel „<“: absolute Grenze.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
