#!/usr/bin/env python3
"""Drives the X display in $DISPLAY through the XTest extension, for
screenshots and walk-throughs under Xvfb (no xdotool needed).

Arguments are steps, run in order:
  c:X,Y     left click at screen position X,Y
  d:X,Y     left double click at screen position X,Y
  k:KEY     press the key with the X keysym name KEY (F7, Escape, ...)
  t:TEXT    type TEXT; \t is Tab, \n is Return, upper case uses Shift
  s:SECONDS wait
"""
import ctypes, sys, time
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
xt = ctypes.cdll.LoadLibrary("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
d = ctypes.c_void_p(x11.XOpenDisplay(None))
def flush(): x11.XFlush(d); time.sleep(0.08)
def click(x, y):
    xt.XTestFakeMotionEvent(d, -1, x, y, 0); flush()
    xt.XTestFakeButtonEvent(d, 1, 1, 0); xt.XTestFakeButtonEvent(d, 1, 0, 0); flush(); time.sleep(0.2)
def dclick(x, y):
    xt.XTestFakeMotionEvent(d, -1, x, y, 0); flush()
    for _ in range(2):
        xt.XTestFakeButtonEvent(d, 1, 1, 0); xt.XTestFakeButtonEvent(d, 1, 0, 0); x11.XFlush(d); time.sleep(0.05)
    time.sleep(0.2)
def keysym(name, shift=False):
    kc = x11.XKeysymToKeycode(d, x11.XStringToKeysym(name.encode()))
    sh = x11.XKeysymToKeycode(d, x11.XStringToKeysym(b"Shift_L"))
    if shift: xt.XTestFakeKeyEvent(d, sh, 1, 0)
    xt.XTestFakeKeyEvent(d, kc, 1, 0); xt.XTestFakeKeyEvent(d, kc, 0, 0)
    if shift: xt.XTestFakeKeyEvent(d, sh, 0, 0)
    flush()
names = {'-': 'minus', ' ': 'space', '\t': 'Tab', '\n': 'Return'}
def typ(s):
    for c in s:
        if c in names: keysym(names[c])
        elif c.isupper(): keysym(c.lower(), True)
        else: keysym(c)
# commands: c x y | t text
for arg in sys.argv[1:]:
    if arg.startswith("c:"):
        x, y = arg[2:].split(","); click(int(x), int(y))
    elif arg.startswith("d:"):
        x, y = arg[2:].split(","); dclick(int(x), int(y))
    elif arg.startswith("k:"):
        keysym(arg[2:])
    elif arg.startswith("t:"):
        typ(arg[2:].replace("\\t", "\t").replace("\\n", "\n"))
    elif arg.startswith("s:"):
        time.sleep(float(arg[2:]))
