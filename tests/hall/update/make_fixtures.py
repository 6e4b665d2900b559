#!/usr/bin/env python3
"""Makes the zip fixtures of the archive tests.

Good archives are written by Python's own zipfile module (encrypted ones by
the small writer below, checked against zipfile's decrypter); damaged ones
are good ones with bytes patched. Every archive is made from fixed data, so
a run gives the same bytes every time.

Usage: make_fixtures.py OUTPUT_FOLDER
Writes the archives and manifest.txt, one line per entry of a good archive:
archive, name (hex of its stored bytes), size, CRC-32 (hex), password or -,
1 for a folder entry.
"""
import io
import os
import random
import struct
import sys
import zipfile
import zlib

OUT = sys.argv[1]
DATE = (2021, 6, 15, 11, 17, 20)
MANIFEST = []


def noise(n, seed):
    return random.Random(seed).randbytes(n)


def prose(n, seed):
    rnd = random.Random(seed)
    words = [b"hall", b"room", b"table", b"update", b"archive", b"volume", b"entry", b"\xca\xfd\xbe\xdd"]
    out = bytearray()
    while len(out) < n:
        out += rnd.choice(words) + b" "
    return bytes(out[:n])


class GbkInfo(zipfile.ZipInfo):
    """A ZipInfo whose name is stored in code page 936, as the hall's own
    archives store it, instead of UTF-8 with the language flag."""

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits


def info(name, method=zipfile.ZIP_DEFLATED, folder=False):
    zi = GbkInfo(name, DATE)
    zi.compress_type = zipfile.ZIP_STORED if folder else method
    zi.create_system = 0
    zi.external_attr = 0x10 if folder else 0x20
    return zi


def save(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def note(archive, zi, data, password=None):
    MANIFEST.append("%s\t%s\t%d\t%08x\t%s\t%d" % (
        archive, zi.filename.encode("gbk").hex(), len(data), zlib.crc32(data),
        password or "-", 1 if zi.filename.endswith("/") else 0))


def build(archive, entries, comment=b"", stream=None, record=True):
    """entries: (name, data, method); a name ending in / is a folder."""
    buf = stream if stream is not None else io.BytesIO()
    with zipfile.ZipFile(buf, "w") as zf:
        for name, data, method in entries:
            zi = info(name, method, folder=name.endswith("/"))
            zf.writestr(zi, data)
            if record:
                note(archive, zi, data)
        zf.comment = comment
    return buf.getvalue()


class Unseekable(io.RawIOBase):
    """A stream zipfile cannot seek back in, so it writes data descriptors."""

    def __init__(self):
        self.buf = io.BytesIO()

    def writable(self):
        return True

    def seekable(self):
        return False

    def write(self, b):
        return self.buf.write(b)

    def getvalue(self):
        return self.buf.getvalue()


# ---------------------------------------------------------------- the cipher
def crc_byte(crc, b):
    return zlib.crc32(bytes([b]), crc ^ 0xFFFFFFFF) ^ 0xFFFFFFFF


class Cipher:
    def __init__(self, password):
        self.k = [305419896, 591751049, 878082192]
        for b in password:
            self.update(b)

    def update(self, b):
        k = self.k
        k[0] = crc_byte(k[0], b)
        k[1] = ((k[1] + (k[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        k[2] = crc_byte(k[2], k[1] >> 24)

    def encode(self, data):
        out = bytearray()
        for b in data:
            t = (self.k[2] | 2) & 0xFFFF
            out.append(b ^ (((t * (t ^ 1)) >> 8) & 0xFF))
            self.update(b)
        return bytes(out)


def dos_time_date(dt):
    y, mo, d, h, mi, s = dt
    return (h << 11) | (mi << 5) | (s // 2), ((y - 1980) << 9) | (mo << 5) | d


def encrypted_archive(archive, password, entries):
    """entries: (name, data, method, descriptor). Written by hand: zipfile
    cannot encrypt."""
    out = bytearray()
    central = bytearray()
    tm, dt = dos_time_date(DATE)
    rnd = random.Random(7)
    for name, data, method, descriptor in entries:
        raw = name.encode("gbk")
        crc = zlib.crc32(data)
        if method == 8:
            c = zlib.compressobj(6, zlib.DEFLATED, -15)
            body = c.compress(data) + c.flush()
        else:
            body = data
        flag = 1 | (8 if descriptor else 0)
        check = (tm >> 8) if descriptor else (crc >> 24)
        head = bytes(rnd.randrange(256) for _ in range(11)) + bytes([check & 0xFF])
        enc = Cipher(password.encode()).encode(head + body)
        offset = len(out)
        local_sizes = (0, 0, 0) if descriptor else (crc, len(enc), len(data))
        out += struct.pack("<4sHHHHHIIIHH", b"PK\x03\x04", 20, flag, method, tm, dt, *local_sizes, len(raw), 0)
        out += raw + enc
        if descriptor:
            out += struct.pack("<4sIII", b"PK\x07\x08", crc, len(enc), len(data))
        central += struct.pack("<4sHHHHHHIIIHHHHHII", b"PK\x01\x02", 20, 20, flag, method, tm, dt,
                               crc, len(enc), len(data), len(raw), 0, 0, 0, 0, 0x20, offset)
        central += raw
        MANIFEST.append("%s\t%s\t%d\t%08x\t%s\t0" % (archive, raw.hex(), len(data), crc, password))
    end = struct.pack("<4sHHHHIIH", b"PK\x05\x06", 0, 0, len(entries), len(entries), len(central), len(out), 0)
    data = bytes(out + central + end)
    # zipfile's own decrypter must agree with this writer.
    with zipfile.ZipFile(io.BytesIO(data)) as zf:
        for (name, body, _, _), zi in zip(entries, zf.infolist()):
            assert zf.read(zi, pwd=password.encode()) == body
            try:
                zf.read(zi, pwd=b"not the password")
                raise AssertionError("a wrong password was accepted")
            except RuntimeError:
                pass
    return data


# --------------------------------------------------------------- good ones
def good():
    S, D = zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED
    plain = [
        ("readme.txt", prose(5000, 1), D),
        ("empty.txt", b"", S),
        ("docs/", b"", S),
        ("docs/big.bin", noise(200000, 2), D),
        ("docs/text.log", prose(300000, 3), D),
        ("raw.dat", noise(70000, 4), S),
        ("Thumbs.db", noise(100, 5), S),
    ]
    save("plain.zip", build("plain.zip", plain))

    save("comment65535.zip", build("comment65535.zip", [("a.txt", prose(300, 6), D)], comment=b"c" * 65535))

    # The end record starts 1, 2 or 3 bytes before the last 32 KiB, so its
    # signature straddles the first chunk of the search.
    for j in (1, 2, 3):
        name = "split%d.zip" % j
        save(name, build(name, [("b.txt", prose(400, 7), D)], comment=b"s" * (32768 + j - 22)))

    stream = Unseekable()
    build("descriptor.zip", [("late.txt", prose(9000, 8), D), ("late.bin", noise(3000, 9), S)], stream=stream)
    data = stream.getvalue()
    with zipfile.ZipFile(io.BytesIO(data)) as zf:
        assert all(zi.flag_bits & 8 for zi in zf.infolist())
    save("descriptor.zip", data)

    trail = b"\x95\x5c".decode("gbk")      # second byte is "\"
    gbk = [
        ("数据/", b"", S),
        ("数据/配置.ini", "[Public]\r\nversion=3\r\n".encode("gbk"), D),
        ("图片/头像" + trail + ".png", noise(2000, 10), S),
    ]
    save("gbk.zip", build("gbk.zip", gbk))

    save("encrypted.zip", encrypted_archive("encrypted.zip", "tavrel-pw", [
        ("secret.txt", prose(20000, 11), 8, False),
        ("stored.bin", noise(5000, 12), 0, False),
        ("late.txt", prose(7000, 13), 8, True),
    ]))

    # A program in front of the archive, as in a self-extracting one.
    body = build("prefixed.zip", [("inner.txt", prose(1000, 14), D)])
    data = b"MZ" + noise(2998, 15) + body
    with zipfile.ZipFile(io.BytesIO(data)) as zf:
        assert zf.read("inner.txt") == prose(1000, 14)
    save("prefixed.zip", data)


# ------------------------------------------------------------ damaged ones
def offsets(data):
    """(local header offsets, central header offsets, end record offset)."""
    end = data.rfind(b"PK\x05\x06")
    cd_size, cd_off = struct.unpack_from("<II", data, end + 12)
    centrals, locals_ = [], []
    p = cd_off
    while p < cd_off + cd_size:
        centrals.append(p)
        n, e, c = struct.unpack_from("<HHH", data, p + 28)
        locals_.append(struct.unpack_from("<I", data, p + 42)[0])
        p += 46 + n + e + c
    return locals_, centrals, end


def patch(data, at, fmt, *values):
    b = bytearray(data)
    struct.pack_into(fmt, b, at, *values)
    return bytes(b)


def damaged():
    S, D = zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED
    base = build(None, [("one.txt", prose(3000, 20), D), ("two.bin", noise(1000, 21), S)], record=False)
    loc, cen, end = offsets(base)
    cd_size, cd_off = struct.unpack_from("<II", base, end + 12)

    save("no_end.zip", noise(1000, 22).replace(b"PK", b"pk"))
    save("end_too_far.zip", base + bytes(65536))
    save("bad_central_sig.zip", patch(base, cen[0], "<4s", b"PK\x01\x03"))
    save("count_too_big.zip", patch(base, end + 8, "<HH", 3, 3))
    save("dir_past_end.zip", patch(base, end + 16, "<I", cd_off + 10))
    save("dir_size_zero.zip", patch(base, end + 12, "<I", 0))
    save("short_comment.zip", patch(base, end + 20, "<H", 100))
    save("name_past_end.zip", patch(base, cen[1] + 28, "<H", 0xFFFF))
    save("local_flag_mismatch.zip", patch(base, loc[0] + 6, "<H", 2))
    m12 = patch(base, loc[0] + 8, "<H", 12)
    save("method12.zip", patch(m12, cen[0] + 10, "<H", 12))

    # two.bin is stored: flip one byte of its data.
    name_len, extra_len = struct.unpack_from("<HH", base, loc[1] + 26)
    data_at = loc[1] + 30 + name_len + extra_len
    save("bad_crc.zip", patch(base, data_at + 10, "<B", base[data_at + 10] ^ 0xFF))

    # two.bin claims far more data than the archive holds.
    huge = patch(base, loc[1] + 18, "<II", 10000000, 10000000)
    save("data_past_end.zip", patch(huge, cen[1] + 20, "<II", 10000000, 10000000))

    # one.txt is deflated: a first block of the reserved type.
    name_len, extra_len = struct.unpack_from("<HH", base, loc[0] + 26)
    save("bad_deflate.zip", patch(base, loc[0] + 30 + name_len + extra_len, "<B", 0xFF))

    # Names that would leave the folder they are unpacked into; ok.txt is fine.
    slip = io.BytesIO()
    with zipfile.ZipFile(slip, "w") as zf:
        for name in ["ok.txt", "../evil1.txt", "..\\evil2.txt", "/evil3.txt", "C:/evil4.txt",
                     "sub/../../evil5.txt", "sub/./../..", "sub/ . /../../evil6.txt"]:
            zi = zipfile.ZipInfo(name, DATE)
            zi.create_system = 0
            zi.external_attr = 0x20
            zf.writestr(zi, b"outside")
    save("slip.zip", slip.getvalue())


def main():
    os.makedirs(OUT, exist_ok=True)
    good()
    damaged()
    with open(os.path.join(OUT, "manifest.txt"), "w") as f:
        f.write("\n".join(MANIFEST) + "\n")


main()
