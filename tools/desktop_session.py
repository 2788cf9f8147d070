"""A throw-away X desktop for looking at Cifrano as a person or a screen reader would.

Starts Xvfb, a D-Bus session bus, the AT-SPI accessibility bus and registry, and
optionally openbox, each as a child process whose id it keeps; stop() ends them
by those ids, in reverse order. Debian packages: xvfb, openbox, dbus,
at-spi2-core, x11-utils, imagemagick.
"""

import os
import re
import signal
import subprocess
import time


class DesktopSession:
    def __init__(self, display=":99", size="1024x768", window_manager=True, accessibility=True):
        self.display = display
        self.size = size
        self.window_manager = window_manager
        self.accessibility = accessibility
        self.env = dict(os.environ, DISPLAY=display)
        self.children = []  # Popen objects, in start order
        self.dbus_pid = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def _spawn(self, args, **kwargs):
        process = subprocess.Popen(args, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, **kwargs)
        self.children.append(process)
        return process

    def start(self):
        number = self.display.lstrip(":")
        if os.path.exists("/tmp/.X11-unix/X" + number):
            raise RuntimeError("display %s is already in use: choose another (--display)"
                               % self.display)
        self._spawn(["Xvfb", self.display, "-screen", "0", self.size + "x24", "-nolisten", "tcp"])
        socket = "/tmp/.X11-unix/X" + number
        for _ in range(100):
            if os.path.exists(socket) and self.run(["xdpyinfo"], check=False).returncode == 0:
                break
            time.sleep(0.1)
        else:
            raise RuntimeError("Xvfb did not start on " + self.display)
        if self.accessibility:
            out = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                                  "--print-pid=1"], env=self.env, capture_output=True, text=True,
                                 check=True).stdout.split()
            self.env["DBUS_SESSION_BUS_ADDRESS"] = out[0]
            self.dbus_pid = int(out[1])
            self._spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
            time.sleep(0.5)
            self._spawn(["/usr/libexec/at-spi2-registryd"])
            time.sleep(0.5)
        if self.window_manager:
            self._spawn(["openbox"])
            for _ in range(50):
                if "_NET_SUPPORTING_WM_CHECK" in self.run(["xprop", "-root"], check=False).stdout:
                    break
                time.sleep(0.1)

    def run(self, args, check=True):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, check=check)

    def start_program(self, program, extra_env=None):
        env = dict(self.env, **(extra_env or {}))
        process = subprocess.Popen([program], env=env, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, text=True)
        self.children.append(process)
        return process

    def stop(self):
        for process in reversed(self.children):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.children.clear()
        if self.dbus_pid:
            try:
                os.kill(self.dbus_pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            self.dbus_pid = None

    # --- What the X server knows about a window -------------------------------------------

    def windows_of(self, pid):
        out = self.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], check=False)
        return [int(w) for w in out.stdout.split()]

    def window_name(self, window):
        out = self.run(["xprop", "-id", str(window), "_NET_WM_NAME"], check=False).stdout
        match = re.search(r'= "(.*)"', out)
        return match.group(1) if match else ("" if "= " in out else None)

    def inner_geometry(self, window):
        out = self.run(["xwininfo", "-id", str(window)], check=False).stdout
        values = {}
        for key, field in (("x", "Absolute upper-left X"), ("y", "Absolute upper-left Y"),
                           ("w", "Width"), ("h", "Height")):
            match = re.search(field + r":\s+(-?\d+)", out)
            values[key] = int(match.group(1)) if match else 0
        return values

    def frame_extents(self, window):
        out = self.run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"], check=False).stdout
        numbers = [int(n) for n in re.findall(r"\d+", out.split("=")[-1])] if "=" in out else []
        return tuple(numbers) if len(numbers) == 4 else (0, 0, 0, 0)  # left, right, top, bottom

    def outer_geometry(self, window):
        g = self.inner_geometry(window)
        left, right, top, bottom = self.frame_extents(window)
        return (g["x"] - left, g["y"] - top, g["w"] + left + right, g["h"] + top + bottom)

    def screenshot(self, path):
        self.run(["import", "-window", "root", path])
