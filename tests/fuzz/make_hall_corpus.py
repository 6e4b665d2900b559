#!/usr/bin/env python3
"""Writes the seed corpus of hall_reader_fuzzer: one file per message form.

The first byte of a file chooses the reader (the order of kReaders in
HallReaderEntry.cpp), the rest is the message body. Run it again after
changing that order; the files are checked in.
"""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus", "hall_reader")


def u8(v): return struct.pack("<B", v)
def u16(v): return struct.pack("<H", v)
def u32(v): return struct.pack("<I", v & 0xFFFFFFFF)
def u64(v): return struct.pack("<Q", v)


def s(text):
    b = text.encode("gbk")
    n = len(b)
    if n < 0xFF:
        return u8(n) + b
    if n < 0xFFFE:
        return u8(0xFF) + u16(n) + b
    return u8(0xFF) + u16(0xFFFF) + u32(n) + b


def counted(text):
    b = text.encode("gbk")
    return u32(len(b)) + b


def count(n):
    return u16(n) if n < 0xFFFF else u16(0xFFFF) + u32(n)


def paged(total, offset, items):
    body = u32(total) + u32(offset) + count(len(items))
    for item in items:
        body += count(len(item)) + item
    return body


LOGON, USERINFO, SCALARS, TYPED, TEXTS, ACCOUNT, KINDS, GAMES, ROOMS, WEBS, LINKS, ONLINE, SYSMSG, NOTICE, \
    VALUES, ONE, DEFINITION, ENTRIES_A, ENTRIES_C, TEAM = range(20)

files = {
    "logon_ok": (LOGON, u32(0) + u32(1001) + s("玩家") + u16(3) + u8(1) + counted("key")),
    "logon_refused": (LOGON, u32(7) + counted("密码错误")),
    "userinfo": (USERINFO, u32(0) + count(2) + u16(2) + s("nick") + u16(3) + s("12")),
    "scalar": (SCALARS, u32(5)),
    "typed_attributes": (TYPED, u16(4) + u32(2) + s("nick") + u32(18) + u32(6) + u16(9) + u32(14) + u32(100)),
    "text_attributes": (TEXTS, u16(2) + u32(15) + counted("sig") + u32(3) + counted("-100")),
    "account_short": (ACCOUNT, u8(2)),
    "account_full": (ACCOUNT, u8(0) + u32(9) + counted("a") + counted("b") + counted("c") + counted("d")),
    "kinds": (KINDS, paged(2, 0, [u32(1) + s("棋牌"), u32(2) + s("休闲")])),
    "games": (GAMES, paged(1, 0, [u32(10) + s("斗地主") + s("Landlord")])),
    "rooms": (ROOMS, paged(1, 0, [u32(100) + s("新手房") + s("a.example;b.example") + u16(9100) + u32(10) + u8(2) + u16(1)])),
    "webs": (WEBS, paged(1, 0, [u32(5) + s("web") + s("http://example.invalid/")])),
    "links": (LINKS, paged(3, 0, [u32(1) + u32(0) + u8(1) + s("cat") + u32(1) + u32(0),
                                  u32(2) + u32(1) + u8(2) + s("game") + u32(10) + u32(1) + u32(8)])),
    "online": (ONLINE, paged(1, 0, [u32(100) + u32(55)])),
    "system_message": (SYSMSG, u8(1) + u32(2) + s("系统消息")),
    "notice_text": (NOTICE, counted("notice")),
    "user_values": (VALUES, u16(2) + u32(1) + u16(2) + u64(3) + u32(4) + u16(5) + u64(6)),
    "one_record": (ONE, u32(1) + u8(2) + s("entry") + u32(3) + u32(4) + b"".join(u16(i) for i in range(14))),
    "entries_a": (ENTRIES_A, u16(2) + u32(1) + u8(1) + s("a") + u32(2) + u8(0) + s("b")),
    "entries_c": (ENTRIES_C, u16(1) + u32(1) + u8(1) + s("c") + u32(1) + u32(2) + b"".join(u16(i) for i in range(14))),
}

definition = u32(1) + u8(1) * 3 + u32(2) * 5 + s("t32") + s("t64") + s("t256") + u32(3) * 2
definition += s("x") * 6 + s("y") * 6 + u32(4) * 8 + u16(5) * 8 + u32(6) * 6 + u32(7) * 6 + u16(8) * 6
definition += u32(9) * 4 + u16(10) * 4 + u32(11) * 4 + u16(12) * 4
files["definition"] = (DEFINITION, definition)

member = u32(10) + u16(1) + u32((1 << 0) | (1 << 2) | (1 << 9)) + u16(7) + counted("Bob") + u16(4) + u32(22) \
    + u16(5) + b"\x01\x02\x03\x04\x05"
files["team"] = (TEAM, u32(900) + u16(1) + u16(len(member)) + member)

os.makedirs(out, exist_ok=True)
for name, (reader, body) in sorted(files.items()):
    with open(os.path.join(out, name), "wb") as f:
        f.write(u8(reader) + body)
