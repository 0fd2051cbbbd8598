"""Reads the walk files of rtprobe and the output of Net-SNMP's `snmpwalk -v1 -On -Oe -Ot -Ox`
into lists of (object identifier, value text) in file order, the values in the walk file's form."""
import re

_RECORD = re.compile(rb"Variable = ([^\n]*)\nValue    = (.*)", re.S)


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


def _snmpwalk_value(text):
    """The walk file's text of one snmpwalk value."""
    if text == '""':
        return b""
    kind, _, rest = text.partition(": ")
    if kind == "Hex-STRING":
        raw = bytes.fromhex(rest.replace("\n", " "))
        return raw.split(b"\0", 1)[0][:1023]
    if kind == "STRING":
        return rest.strip('"').encode("latin-1")[:1023]
    if kind in ("INTEGER", "Counter32", "Gauge32", "Counter64", "IpAddress", "OID", "Opaque", "Network Address"):
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
    return [(oid, _snmpwalk_value(value)) for oid, value in records]
