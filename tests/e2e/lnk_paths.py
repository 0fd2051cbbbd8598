#!/usr/bin/env python3
"""Prints the target and the working directory of a Windows shortcut (.lnk), read from its bytes:

    target C:\\Folder\\histview.exe
    working C:\\Folder

The target is the link information's local path; the shell writes it for every file on a local or
mapped drive. Usage: lnk_paths.py FILE"""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR, IS_UNICODE = 1, 2, 4, 8, 0x10, 0x80


def main():
    data = open(sys.argv[1], "rb").read()
    if len(data) < 76 or struct.unpack_from("<I", data, 0)[0] != 76:
        sys.exit("lnk_paths: not a shortcut")
    flags = struct.unpack_from("<I", data, 20)[0]
    at = 76
    if flags & HAS_ID_LIST:
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = None
    if flags & HAS_LINK_INFO:
        info_size, _, info_flags, _, base_path = struct.unpack_from("<IIIII", data, at)
        if info_flags & 1:  # VolumeIDAndLocalBasePath
            end = data.index(b"\0", at + base_path)
            target = data[at + base_path:end].decode("mbcs" if sys.platform == "win32" else "cp1252")
        at += info_size
    unicode = bool(flags & IS_UNICODE)
    strings = {}
    for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR):
        if flags & flag:
            count = struct.unpack_from("<H", data, at)[0]
            width = 2 if unicode else 1
            raw = data[at + 2:at + 2 + count * width]
            strings[flag] = raw.decode("utf-16-le" if unicode else "cp1252").rstrip("\0")
            at += 2 + count * width
    if target is None:
        sys.exit("lnk_paths: the shortcut holds no local target path")
    print("target", target)
    print("working", strings.get(HAS_WORKING_DIR, ""))


if __name__ == "__main__":
    main()
