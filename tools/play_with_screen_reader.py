#!/usr/bin/python3
"""Plays one game of Cifrano using only what AT-SPI exposes, as a screen reader would.

    /usr/bin/python3 tools/play_with_screen_reader.py [build/bin/cifrano] [--scale 2]
                                                     [--screenshots DIR]

Starts its own Xvfb desktop with openbox and the accessibility bus (see
desktop_session.py), runs the program with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1,
and then finds every window, button, list and row by its accessible role and
name: it presses CONTINUAR, picks a player, accepts the first operation type,
starts the game, reads rows and answers them (two right, one wrong; one
confirmed with the Enter key, the others by moving to the next row), waits for
the time to run out, reads the results and quits. Along the way it prints what
a screen reader would announce (focus and name changes) and checks each
window under the window manager: its whole frame centred on the screen, no
jump after it appears, the game's title bar empty. Exit status 0 when every
check held. Needs python3-pyatspi, xdotool, x11-utils, imagemagick.
"""

import argparse
import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_session import DesktopSession  # noqa: E402

failures = []


def check(condition, message):
    print(("  ok   " if condition else "  MAL  ") + message)
    if not condition:
        failures.append(message)


def centred_position(screen_twips, window_twips):
    """The difference rounded half to even, then halved toward zero."""
    difference = round(screen_twips - window_twips)  # Python rounds halves to even
    return int(difference / 2)


def twips_to_pixels(twips):
    return int(twips / 15 + 0.5) if twips >= 0 else -int(-twips / 15 + 0.5)


def main():
    parser = argparse.ArgumentParser()
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("program", nargs="?",
                        default=os.path.join(here, "..", "build", "bin", "cifrano"))
    parser.add_argument("--scale", type=int, default=1)
    parser.add_argument("--screenshots")
    parser.add_argument("--display", default=":57")
    args = parser.parse_args()
    scale = args.scale
    size = "%dx%d" % (1024 * scale, 768 * scale)

    with DesktopSession(args.display, size) as desktop:
        os.environ.update(desktop.env)
        import pyatspi  # only now: it connects to the session bus it finds in the environment
        from gi.repository import GLib

        env = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "LANG": "es_ES.UTF-8"}
        if scale != 1:
            env["QT_SCALE_FACTOR"] = str(scale)
        program = desktop.start_program(os.path.abspath(args.program), env)

        announced = []

        def on_event(event):
            try:
                name = event.source.name
                role = event.source.getRoleName()
            except Exception:  # the object may be gone already
                return
            if event.type.startswith("object:state-changed:focused") and event.detail1 == 1:
                announced.append("foco: %s «%s»" % (role, name))
            elif event.type.startswith("object:property-change:accessible-name"):
                announced.append("nombre: %s «%s»" % (role, name))

        pyatspi.Registry.registerEventListener(on_event, "object:state-changed:focused",
                                               "object:property-change:accessible-name")

        def pump(seconds=0.0):
            end = time.time() + seconds
            context = GLib.MainContext.default()
            while True:
                while context.pending():
                    context.iteration(False)
                if time.time() >= end:
                    return
                time.sleep(0.02)

        def say_announced():
            pump(0.3)
            for line in announced:
                print("    lector> " + line)
            announced.clear()

        def application():
            for _ in range(150):
                desktop_node = pyatspi.Registry.getDesktop(0)
                for app in desktop_node:
                    if app is not None and app.name == "cifrano":
                        return app
                pump(0.1)
            raise RuntimeError("the program never appeared on the accessibility bus")

        def find(node, role, name=None, showing=True):
            """Depth first: the first object of that role (and name) that is showing."""
            matches = pyatspi.findAllDescendants(
                node, lambda o: o.getRoleName() == role and (name is None or o.name == name)
                and (not showing or o.getState().contains(pyatspi.STATE_SHOWING)))
            return matches[0] if matches else None

        def window(name, wait=10.0):
            end = time.time() + wait
            while time.time() < end:
                for frame in application():
                    if frame.getRoleName() in ("frame", "window", "dialog") and frame.name == name \
                            and frame.getState().contains(pyatspi.STATE_SHOWING):
                        return frame
                pump(0.1)
            raise RuntimeError("no window named %r" % name)

        def press(node, role, name):
            target = find(node, role, name)
            if target is None:
                raise RuntimeError("no %s named %r" % (role, name))
            action = target.queryAction()
            for i in range(action.nActions):
                if action.getName(i) in ("Press", "press", "click"):
                    print("  pulsa %s «%s»" % (role, name))
                    action.doAction(i)
                    pump(0.5)
                    return
            raise RuntimeError("%s %r cannot be pressed" % (role, name))

        seen_windows = set()

        def check_window(title_on_screen, description):
            """Its whole frame centred, no jump, and the title the title bar shows."""
            if description in seen_windows:
                return
            seen_windows.add(description)
            for window_id in desktop.windows_of(program.pid):
                if desktop.window_name(window_id) != title_on_screen:
                    continue
                first = desktop.outer_geometry(window_id)
                samples = [first]
                for _ in range(6):
                    time.sleep(0.05)
                    samples.append(desktop.outer_geometry(window_id))
                x, y, w, h = samples[-1]
                screen_w, screen_h = 1024 * scale, 768 * scale
                # The rule works in twips on the window's pixels, before scaling.
                want_x = twips_to_pixels(centred_position(screen_w / scale * 15, w / scale * 15))
                want_y = twips_to_pixels(centred_position(screen_h / scale * 15, h / scale * 15))
                # A frame of an odd number of device pixels has no exact logical size.
                tolerance = 0 if scale == 1 else scale
                check(abs(x - want_x * scale) <= tolerance and abs(y - want_y * scale) <= tolerance,
                      "%s: marco %dx%d en (%d, %d), centrado en (%d, %d)"
                      % (description, w, h, x, y, want_x * scale, want_y * scale))
                check(len(set(samples)) == 1, "%s: no salta tras aparecer" % description)
                if args.screenshots:
                    os.makedirs(args.screenshots, exist_ok=True)
                    path = os.path.join(args.screenshots, "%s-x%d.png" % (
                        re.sub(r"\W+", "-", description.lower()).strip("-"), scale))
                    desktop.screenshot(path)
                    print("  captura " + path)
                return
            check(False, "%s: ninguna ventana con el título %r" % (description, title_on_screen))

        title = "Cifrano 1.1 - cifrano@example.org"
        print("== Presentación")
        splash = window(title)
        print("  ventana: %s «%s»" % (splash.getRoleName(), splash.name))
        check_window(title, "Presentacion")
        say_announced()
        press(splash, "push button", "CONTINUAR")

        print("== Selección de jugadores")
        players = window("Selección de jugadores")
        check_window("Selección de jugadores", "Jugadores")
        lists = pyatspi.findAllDescendants(players, lambda o: o.getRoleName() == "list")
        names = [item.name for item in lists[0]]
        print("  lista 1: " + ", ".join(names))
        ana = lists[0][names.index("Ana.bmp")].queryAction()
        print("  acciones de «Ana.bmp»: %s" % [ana.getName(i) for i in range(ana.nActions)])
        ana.doAction(0)
        pump(0.5)
        labels = [o.name for o in pyatspi.findAllDescendants(
            players, lambda o: o.getRoleName() == "label")]
        check("Ana" in labels, "el nombre elegido se lee: " + ", ".join(labels))
        press(players, "push button", "CONTINUAR")

        print("== Selección del ejercicio")
        exercise = window(title)
        check_window(title, "Ejercicio")
        say_announced()
        focused = [o.getRoleName() + " " + o.name for o in pyatspi.findAllDescendants(
            exercise, lambda o: o.getState().contains(pyatspi.STATE_FOCUSED))]
        # The list's current item calls itself focused, even while the list is not.
        check("push button ACEPTAR" in focused and "list " not in focused,
              "el foco inicial está en ACEPTAR: %s" % focused)
        operation_list = find(exercise, "list")
        chosen = [item.name for item in operation_list
                  if item.getState().contains(pyatspi.STATE_SELECTED)]
        print("  tipo de operación elegido: %s" % chosen)
        press(exercise, "push button", "1")
        press(exercise, "push button", "ACEPTAR")

        print("== Partida")
        game = window("Partida")
        check_window("", "Partida")
        for window_id in desktop.windows_of(program.pid):
            if desktop.window_name(window_id) == "":
                check(True, "la barra de título de la partida está vacía (_NET_WM_NAME vacío)")
        check(any(desktop.window_name(w) == "" for w in desktop.windows_of(program.pid)),
              "hay una ventana con _NET_WM_NAME vacío")
        sheet = find(game, "list", "Hoja de problemas")
        print("  hoja antes de empezar: %s" % [row.name for row in sheet])
        press(game, "push button", "Inicio")
        say_announced()
        rows = [row.name for row in sheet if row.getRoleName() == "list item"]
        print("  filas a la vista:")
        for row in rows[:4]:
            print("    " + row)

        def row_item(number):
            for row in sheet:
                if row.getRoleName() == "list item" and row.name.startswith("%d-  " % number):
                    return row
            raise RuntimeError("row %d is not in view" % number)

        def solve(reading):
            match = re.match(r"\d+-\s+(\d+) ([-+x:]) (\d+) =", reading)
            a, op, b = int(match.group(1)), match.group(2), int(match.group(3))
            return {"+": a + b, "-": a - b, "x": a * b, ":": a // b}[op]

        answers = {}
        for number, wrong in ((1, False), (2, True), (3, False)):
            row = row_item(number)
            action = row.queryAction()
            action.doAction(0)
            pump(0.4)
            box = find(game, "text")
            print("  fila %d pulsada; casilla de respuesta: «%s»" % (number, box.name))
            check(box.name == row.name.split(",")[0], "la casilla lleva el nombre de su problema")
            answer = solve(row.name) + (1 if wrong else 0)
            answers[number] = answer
            box.queryEditableText().setTextContents(str(answer))
            pump(0.3)
            print("  escribe %d: %s" % (answer, row_item(number).name))
            if number == 1:
                # Confirmed with the keyboard's Enter, as a player would.
                pyatspi.Registry.generateKeyboardEvent(0xff0d, None, pyatspi.KEY_SYM)
                pump(0.6)
                say_announced()
        row_item(4).queryAction().doAction(0)  # moving on confirms row 3
        pump(0.5)
        say_announced()
        if args.screenshots:
            path = os.path.join(args.screenshots, "partida-jugando-x%d.png" % scale)
            desktop.screenshot(path)
            print("  captura " + path)
        for number, state in ((1, "acierto"), (2, "error"), (3, "acierto")):
            name = row_item(number).name
            check(name.endswith(", " + state), "fila %d: %s" % (number, name))
        labels = {o.name for o in pyatspi.findAllDescendants(
            game, lambda o: o.getRoleName() == "label")}
        check({"Aciertos", "Errores", "2", "1"} <= labels,
              "contadores: %s" % sorted(labels))

        print("== Esperando el final del tiempo (1 minuto)")
        results = window("Resultados", wait=90)
        check_window("Resultados", "Resultados")
        lines = [item.name for item in find(results, "list")]
        print("  resultados: %s" % lines)
        check(len(lines) == 1 and lines[0].startswith("1)  2 op/min") and lines[0].endswith(
            "Err 1"), "la línea de la partida")
        press(results, "push button", "SALIR")
        pump(1.0)
        question = None
        for frame in application():
            if frame.getRoleName() in ("dialog", "alert", "frame") and \
                    frame.getState().contains(pyatspi.STATE_SHOWING) and \
                    find(frame, "push button", "Sí") is not None:
                question = frame
        labels = [o.name for o in pyatspi.findAllDescendants(
            question, lambda o: o.getRoleName() == "label")]
        print("  pregunta: %s" % labels)
        press(question, "push button", "Sí")
        try:
            status = program.wait(timeout=10)
        except Exception:
            status = None
        check(status == 0, "el programa termina con estado %s" % status)

    print()
    print("%d comprobaciones fallidas" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
