#!/usr/bin/env python3
"""Prints the machine and the version resource of a Windows program, read from the file's bytes as
Windows reads them for its properties:

    machine i386
    resource 0409
    fixed 1.2.0.0
    translation 0409 04b0
    040904b0 ProductName=Lumetra Pro
    ...

Usage: pe_version.py FILE"""
import struct
import sys

MACHINES = {0x14C: "i386", 0x8664: "x86-64"}
RT_VERSION = 16


def fail(why):
    sys.exit("pe_version: " + why)


class Image:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            fail("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            fail("no PE header")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + {0x10B: 96, 0x20B: 112}.get(magic, -1)
        if directories < optional:
            fail("unknown optional header 0x%x" % magic)
        self.resources = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(sections)]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        fail("address 0x%x lies in no section" % rva)

    def entries(self, directory):
        """(id, offset of the entry's target, whether that is a subdirectory) of a resource directory."""
        base = self.offset(self.resources)
        named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
            yield name, target & 0x7FFFFFFF, bool(target & 0x80000000)

    def version_resources(self):
        """(language, bytes) of each version resource: some programs carry one per language."""
        if not self.resources:
            return
        base = self.offset(self.resources)
        for kind, names, _ in self.entries(0):
            if kind != RT_VERSION:
                continue
            for _, languages, _ in self.entries(names):
                for language, leaf, _ in self.entries(languages):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(rva)
                    yield language, self.data[start:start + size]


def blocks(data, start, end):
    """The (key, value bytes, value length, type, children start, end) of each block in [start, end)."""
    while start + 6 <= end:
        length, value_length, kind = struct.unpack_from("<HHH", data, start)
        if length == 0:
            break
        key_end = start + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[start + 6:key_end].decode("utf-16-le")
        value = (key_end + 2 + 3) & ~3
        # Texts count their length in characters, binary values in bytes.
        value_bytes = value_length * 2 if kind == 1 else value_length
        children = (value + value_bytes + 3) & ~3
        yield key, data[value:value + value_bytes], kind, children, start + length
        start = (start + length + 3) & ~3


def print_version(resource):
    for key, value, _, children, end in blocks(resource, 0, len(resource)):
        if key != "VS_VERSION_INFO":
            fail("the version resource starts with " + key)
        if len(value) >= 16:
            high, low = struct.unpack_from("<II", value, 8)
            print("fixed %d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF))
        for info, _, _, info_children, info_end in blocks(resource, children, end):
            for table, table_value, _, table_children, table_end in blocks(resource, info_children, info_end):
                if info == "VarFileInfo":
                    for i in range(0, len(table_value) - 3, 4):
                        print("translation %04x %04x" % struct.unpack_from("<HH", table_value, i))
                    continue
                for name, text, _, _, _ in blocks(resource, table_children, table_end):
                    print("%s %s=%s" % (table, name, text.decode("utf-16-le").rstrip("\0")))


def main():
    image = Image(open(sys.argv[1], "rb").read())
    print("machine", MACHINES.get(image.machine, hex(image.machine)))
    for language, resource in image.version_resources():
        print("resource %04x" % language)
        print_version(resource)


if __name__ == "__main__":
    main()
