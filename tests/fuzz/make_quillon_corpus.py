#!/usr/bin/env python3
"""Writes the seed corpus of quillon_reader_fuzzer: one file per reply form.

The first byte of a file chooses the reader (the order of kReaders in
QuillonReaderEntry.cpp), the rest is the reply body. Run it again after
changing that order; the files are checked in.
"""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus", "quillon_reader")


def u8(v): return struct.pack("<B", v)
def u16(v): return struct.pack("<H", v)
def u32(v): return struct.pack("<I", v & 0xFFFFFFFF)
def i64(v): return struct.pack("<q", v)
def f64(v): return struct.pack("<d", v)


def s(text):
    b = text.encode("gbk") if isinstance(text, str) else text
    n = len(b)
    if n < 0xFF:
        return u8(n) + b
    if n < 0xFFFE:
        return u8(0xFF) + u16(n) + b
    return u8(0xFF) + u16(0xFFFF) + u32(n) + b


def count(n):
    return u16(n) if n < 0xFFFF else u16(0xFFFF) + u32(n)


LOGON, RESULT, USERINFO, NICKNAME, BANKINFO, EXCHANGE, BANKPASSWORD, PLAYED, SCORE = range(9)

files = {
    "logon_ok": (LOGON, u32(0)),
    "logon_refused": (LOGON, u32(4)),
    "result_unknown": (RESULT, u32(20)),
    "userinfo": (USERINFO, u32(1001) + u32(0) + count(3) + u16(2) + s("张三") + u16(3) + s("a@b.c") + u16(4) + s("x" * 200)),
    "userinfo_empty": (USERINFO, u32(1001) + u32(3) + count(0)),
    "userinfo_long_count": (USERINFO, u32(1001) + u32(0) + u16(0xFFFF) + u32(2) + u16(5) + s("1") + u16(6) + s("2")),
    "nickname_ok": (NICKNAME, u32(0) + u32(1002) + s("昵称" * 20)),
    "nickname_refused": (NICKNAME, u32(3) + u32(1002) + s("")),
    "bankinfo": (BANKINFO, u32(0) + u32(123456) + f64(1.5) + f64(0.5) + f64(0.02) + f64(0.01)),
    "exchange_gold": (EXCHANGE, u16(0) + u32(0)),
    "exchange_beans": (EXCHANGE, u16(1) + u32(9)),
    "bankpassword": (BANKPASSWORD, u32(0) + u8(2)),
    "played": (PLAYED, count(2) + u32(10) + s("象棋") + u32(11) + s("g" * 40)),
    "score": (SCORE, u32(1) + u32(0) + u32(3) + u32(4) + u32(5) + u32(6) + u32(7)),
}

os.makedirs(out, exist_ok=True)
for name, (reader, body) in files.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(u8(reader) + body)
