#!/usr/bin/env python3
"""Lists number and length of every record in the given ".air" files.

The dictionary tests read this list instead of the aircraft files, which a clone of the
project does not carry. Usage: list_air_records.py FILE.air... > tests/data/real_records.txt
"""
import os
import struct
import sys


def records(path):
    data = open(path, "rb").read()
    pos = 0
    while pos + 8 <= len(data):
        number, length = struct.unpack_from("<II", data, pos)
        if pos + 8 + length > len(data):
            raise SystemExit(f"{path}: record {number:#x} at byte {pos} runs past the end")
        yield number, length
        pos += 8 + length
    if pos != len(data):
        raise SystemExit(f"{path}: {len(data) - pos} stray bytes at the end")


def main():
    print("# file number(hex) length(bytes); one line per record, in file order")
    for path in sys.argv[1:]:
        name = os.path.basename(path)
        for number, length in records(path):
            print(f"{name} {number:04x} {length}")


if __name__ == "__main__":
    main()
