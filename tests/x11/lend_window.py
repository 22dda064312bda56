#!/usr/bin/env python3
"""Lends a window as a screensaver dialog's preview does: maps a plain black
640x400 window, prints its id and keeps it until killed."""
import ctypes
import signal
import sys

x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = x.XCreateSimpleWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + [ctypes.c_uint] * 3 + \
    [ctypes.c_ulong] * 2
x.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

display = x.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
window = x.XCreateSimpleWindow(display, x.XDefaultRootWindow(display), 0, 0, 640, 400, 0, 0, 0)
x.XMapWindow(display, window)
x.XSync(display, 0)
print(hex(window), flush=True)
signal.pause()
