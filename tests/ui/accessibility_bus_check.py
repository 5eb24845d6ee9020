#!/usr/bin/env python3
"""Walks the desktop's accessibility bus (AT-SPI over D-Bus) and checks that the running Tensiq
window shows every control by its name, as a screen reader would find it. Run by
scripts/accessibility-check inside a private D-Bus session with a virtual display."""
import sys
import time

import dbus

EXPECTED_BUTTONS = ["Parameter auslesen", "Parameter schreiben", "Start",
                    "Seilspannungs-Assistent starten", "Nächstes Seil", "Beenden",
                    "Letzte Messung speichern", "Ansicht wechseln"]
EXPECTED_EDITS = ["Leerlast Relais", "Volllast Relais", "Überlast Relais",
                  "Schlaffseil und Seildiff. Relais", "Nulllast (Tara)",
                  "erlaubte Seildifferenz", "10V =", "Seilanzahl", "Faktor", "Live Zero"]
EXPECTED_RADIOS = ["Öffner", "Schliesser", "kg", "tn.sh.", "tn.l.", "lbs",
                   "Sensor A", "Sensor B", "Sensor C", "Sensor D"]
EXPECTED_CHECK_BOXES = ["Live Zero", "auf Zuladung anwenden"]


def a11y_bus():
    session = dbus.SessionBus()
    address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
        dbus_interface="org.a11y.Bus")
    return dbus.bus.BusConnection(str(address))


def walk(bus, name, path, depth, out):
    obj = bus.get_object(name, path)
    props = dbus.Interface(obj, "org.freedesktop.DBus.Properties")
    acc = dbus.Interface(obj, "org.a11y.atspi.Accessible")
    label = str(props.Get("org.a11y.atspi.Accessible", "Name", timeout=5))
    role = str(acc.GetRoleName(timeout=5))
    value = None
    if role == "progress bar":
        value = float(props.Get("org.a11y.atspi.Value", "CurrentValue", timeout=5))
    out.append((role, label.strip(), value))
    if depth < 8:
        for child_name, child_path in acc.GetChildren(timeout=5):
            walk(bus, str(child_name), str(child_path), depth + 1, out)


def main():
    bus = a11y_bus()
    found = []
    deadline = time.time() + 20
    while time.time() < deadline:
        found = []
        root = bus.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
        for name, path in dbus.Interface(root, "org.a11y.atspi.Accessible").GetChildren(timeout=5):
            print("application", name, path, file=sys.stderr)
            walk(bus, str(name), str(path), 0, found)
        if any(r == "progress bar" for r, _, _ in found):
            break
        time.sleep(0.5)
    missing = []
    names = {(r, n) for r, n, _ in found}
    for b in EXPECTED_BUTTONS:
        if ("push button", b) not in names:
            missing.append("button " + b)
    for e in EXPECTED_EDITS:
        if not any(n == e and r in ("text", "entry", "editbar") for r, n in names):
            missing.append("edit " + e)
    for r in EXPECTED_RADIOS:
        if ("radio button", r) not in names:
            missing.append("radio " + r)
    for c in EXPECTED_CHECK_BOXES:
        if ("check box", c) not in names:
            missing.append("check box " + c)
    for k in range(1, 13):
        if ("progress bar", "Seil %d" % k) not in names:
            missing.append("bar Seil %d" % k)
    if not any(n.startswith("Gesamt:") for _, n in names):
        missing.append("total label")
    if not any(r == "chart" and n for r, n in names):
        missing.append("chart")
    for role, name, value in found:
        if role in ("push button", "progress bar", "text", "entry", "label", "chart",
                    "static", "dialog", "frame", "radio button", "check box"):
            print("%-14s %-40s %s" % (role, name, "" if value is None else value))
    if missing:
        print("MISSING:", ", ".join(missing))
        return 1
    print("every control found by its name")
    return 0


if __name__ == "__main__":
    sys.exit(main())
