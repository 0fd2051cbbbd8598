"""Reads the walk files of rtprobe and the output of Net-SNMP's `snmpwalk -v1 -On -Oe -Ot -Ox`
into lists of (object identifier, value text) in file order, the values in the walk file's form."""
import re
import struct

_RECORD = re.compile(rb"Variable = ([^\n]*)\nValue    = (.*)", re.S)

# What the walk keeps of a name and of a string: its lines are cut to 1,023 characters.
NAME_LIMIT = 1023 - len("Variable = \n")
VALUE_LIMIT = 1023 - len("Value    = \n\n")


def read_walk_file(data):
    """Records and the final line of a walk file."""
    parts = re.split(rb"\n\n(?=Variable = |End of MIB subtree\.|Error|error on)", data)
    records = []
    final = b""
    for part in parts:
        match = _RECORD.fullmatch(part)
        if match:
            records.append((match.group(1).decode("ascii"), match.group(2)))
        else:
            final = part
    return records, final


def as_snmpwalk_prints(records):
    """The walk's records with the values that snmpwalk decodes from an Opaque (a float, a double,
    a 64-bit number) in snmpwalk's words: the walk has their bytes, snmpwalk prints their value
    (and a double as a float, to six decimals)."""
    return [(oid, _decoded_opaque(value)) for oid, value in records]


def _decoded_opaque(value):
    match = re.fullmatch(rb"9F (7[689AB]) ([0-9A-F]{2})((?: [0-9A-F]{2})*)", value)
    if not match:
        return value
    tag = int(match.group(1), 16)
    content = bytes.fromhex(match.group(3).decode())
    if len(content) != int(match.group(2), 16):
        return value
    if tag in (0x78, 0x79):
        number = struct.unpack(">f" if tag == 0x78 else ">d", content)[0]
        return b"Float: %f" % number
    kind = {0x76: b"Counter64", 0x7A: b"Int64", 0x7B: b"UInt64"}[tag]
    return kind + b": %d" % int.from_bytes(content, "big", signed=tag == 0x7A)


def _snmpwalk_value(text):
    """The walk file's text of one snmpwalk value."""
    if text == '""':
        return b""
    kind, _, rest = text.partition(": ")
    if kind == "Hex-STRING":
        raw = bytes.fromhex(rest.replace("\n", " "))
        return raw.split(b"\0", 1)[0][:VALUE_LIMIT]
    if kind == "STRING":
        return rest.strip('"').encode("latin-1")[:VALUE_LIMIT]
    # "OPAQUE" holds raw bytes in hex; "Opaque" a value decoded from them ("Float: 0.590000").
    if kind in ("INTEGER", "Counter32", "Gauge32", "Counter64", "IpAddress", "OID", "Opaque", "OPAQUE",
                "Network Address"):
        return rest.strip().encode("ascii")
    return text.strip().encode("ascii")  # time ticks as a bare number


def read_snmpwalk(output):
    records = []
    for line in output.decode("latin-1").split("\n"):
        match = re.match(r"^(\.[0-9.]+) = (.*)$", line)
        if match:
            records.append([match.group(1), match.group(2)])
        elif records and line and not line.startswith("End of MIB"):
            records[-1][1] += "\n" + line
    return [(oid[:NAME_LIMIT], _snmpwalk_value(value)) for oid, value in records]
