#!/usr/bin/env python3
"""Reads back, with Python's zipfile, the archives the Windows archive tests
wrote, and checks every entry against the manifest they left beside them.

Usage: verify_roundtrip.py FOLDER
FOLDER/roundtrip.txt holds one line per entry: archive, volumes (0 for one
file, else the number of numbered volumes, the last one ending in .zip),
password or -, name (hex of the stored bytes), size, CRC-32 (hex), 1 for a
folder entry.

zipfile reads single files only, so numbered volumes are first joined into
one archive: volume after volume, every offset made relative to the start
of the first volume and every volume number set to 0.
"""
import io
import os
import struct
import sys
import zipfile
import zlib


def join_volumes(base, count):
    stem = os.path.splitext(base)[0]
    names = ["%s.%03d" % (stem, i) for i in range(count - 1)] + [stem + ".zip"]
    vols = []
    for n in names:
        with open(n, "rb") as f:
            vols.append(f.read())
    starts = [sum(len(v) for v in vols[:i]) for i in range(len(vols))]
    data = bytearray(b"".join(vols))
    end = data.rfind(b"PK\x05\x06")
    assert end >= starts[-1], "end record not on the last volume"
    this_disk, cd_disk, _, total, cd_size, cd_off = struct.unpack_from("<HHHHII", data, end + 4)
    assert this_disk == count - 1, "end record names volume %d of %d" % (this_disk, count)
    p = starts[cd_disk] + cd_off
    cd_start = p
    for _ in range(total):
        assert data[p:p + 4] == b"PK\x01\x02"
        n, e, c, disk = struct.unpack_from("<HHHH", data, p + 28)
        off = struct.unpack_from("<I", data, p + 42)[0]
        struct.pack_into("<H", data, p + 34, 0)
        struct.pack_into("<I", data, p + 42, starts[disk] + off)
        p += 46 + n + e + c
    assert p - cd_start == cd_size, "directory size disagrees"
    struct.pack_into("<HHHHII", data, end + 4, 0, 0, total, total, cd_size, cd_start)
    return bytes(data)


def main():
    folder = sys.argv[1]
    lines = open(os.path.join(folder, "roundtrip.txt"), encoding="ascii").read().split("\n")
    archives = {}
    for line in filter(None, lines):
        archive, volumes, password, name, size, crc, is_dir = line.split("\t")
        archives.setdefault((archive, int(volumes), password), []).append(
            (bytes.fromhex(name).decode("gbk"), int(size), int(crc, 16), is_dir == "1"))
    failures = 0
    for (archive, volumes, password, ), entries in archives.items():
        path = os.path.join(folder, archive)
        if volumes:
            data = join_volumes(path, volumes)
        else:
            with open(path, "rb") as f:
                data = f.read()
        try:
            with zipfile.ZipFile(io.BytesIO(data), metadata_encoding="gbk") as zf:
                infos = zf.infolist()
                assert [i.filename for i in infos] == [e[0] for e in entries], \
                    "names %r" % [i.filename for i in infos]
                pwd = None if password == "-" else password.encode()
                for zi, (name, size, crc, is_dir) in zip(infos, entries):
                    body = zf.read(zi, pwd=pwd)
                    assert len(body) == size and zlib.crc32(body) == crc, "%s: data differs" % name
                    assert zi.is_dir() == is_dir, "%s: folder flag" % name
            print("ok   %s (%d entries)" % (archive, len(entries)))
        except Exception as e:   # report every archive, then fail
            failures += 1
            print("FAIL %s: %s" % (archive, e))
    if not archives:
        print("FAIL: no archives listed")
        failures += 1
    sys.exit(1 if failures else 0)


main()
