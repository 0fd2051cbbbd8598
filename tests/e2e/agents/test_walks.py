"""snmpprobe's walks against real agents, held to Net-SNMP's snmpwalk of the same agent and subtree:
the same objects in the same order with the same values, and the walk's final line."""
import os
import resource
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from agents import Snmpd, Snmpsim, free_udp_port
from walkfile import NAME_LIMIT, VALUE_LIMIT, as_snmpwalk_prints, read_snmpwalk, read_walk_file

SNMPPROBE = os.environ.get("SNMPPROBE", "snmpprobe")


def probe_walk(agent_address, community, root):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "walk.txt")
        result = subprocess.run([SNMPPROBE, "walk", agent_address, community, root, path],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
        if result.returncode != 0:
            raise AssertionError(f"snmpprobe walk failed: {result.stderr.decode()}")
        with open(path, "rb") as walk:
            return read_walk_file(walk.read())


def snmpwalk(agent_address, community, root):
    output = subprocess.run(["snmpwalk", "-v1", "-On", "-Oe", "-Ot", "-Ox", "-c", community, agent_address, root],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=300,
                            env=dict(os.environ, MIBS="")).stdout
    return read_snmpwalk(output)


class RecordedDevices(unittest.TestCase):
    """Recorded agents answer the same every time: every value must agree."""

    @classmethod
    def setUpClass(cls):
        folder = tempfile.mkdtemp(prefix="rtprobe-records-")
        cls.own = folder
        # A subtree of exactly two objects, with a neighbour outside it.
        with open(os.path.join(folder, "two.snmprec"), "w") as out:
            out.write("1.3.6.1.2.1.1.1.0|4|two objects\n")
            out.write("1.3.6.1.4.1.99999.1.1.0|4|first\n")
            out.write("1.3.6.1.4.1.99999.1.2.0|2|-42\n")
            out.write("1.3.6.1.4.1.99999.2.0|4|outside\n")
        # Values that Net-SNMP decodes from an Opaque into types of its own, a raw Opaque, a
        # string and a name too long for the walk's lines. (A v1 agent leaves Counter64 objects
        # out; wrapped in an Opaque they come.)
        with open(os.path.join(folder, "odd.snmprec"), "w") as out:
            out.write("1.3.6.1.2.1.1.1.0|4|odd values\n")
            out.write("1.3.6.1.4.1.99999.3.1.0|68x|9f780441200000\n")  # float 10.0
            out.write("1.3.6.1.4.1.99999.3.2.0|68x|9f78043f170a3d\n")  # float 0.59
            out.write("1.3.6.1.4.1.99999.3.3.0|68x|9f7908400921fb54442d18\n")  # double pi
            out.write("1.3.6.1.4.1.99999.3.4.0|68x|9f7a02ff7f\n")  # int64 -129
            out.write("1.3.6.1.4.1.99999.3.5.0|68x|9f7b0500ffffffff\n")  # uint64
            out.write("1.3.6.1.4.1.99999.3.6.0|68x|9f7606010000000000\n")  # counter64 2^40
            out.write("1.3.6.1.4.1.99999.3.7.0|68x|6f70617175650a\n")
            out.write("1.3.6.1.4.1.99999.3.8.0|4|" + "long string " * 130 + "\n")
            out.write("1.3.6.1.4.1.99999.3.9." + ".".join(["4294967295"] * 100) + "|2|5\n")
            out.write("1.3.6.1.4.1.99999.3.10.0|2|7\n")
        files = ["recorded/linksys-system.snmprec", "recorded/solaris-system.snmprec",
                 "recorded/udp-endpoint-table-walk.snmprec", os.path.join(folder, "two.snmprec"),
                 os.path.join(folder, "odd.snmprec")]
        cls.agent = Snmpsim(files, "linksys-system").__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.agent.stop()

    def assertWalkMatches(self, community, root):
        records, final = probe_walk(self.agent.address, community, root)
        self.assertEqual(as_snmpwalk_prints(records), snmpwalk(self.agent.address, community, root))
        self.assertEqual(final, b"End of MIB subtree.\n\n")
        return records

    def test_recorded_devices(self):
        for community in ("linksys-system", "solaris-system", "udp-endpoint-table-walk"):
            with self.subTest(community=community):
                self.assertGreater(len(self.assertWalkMatches(community, ".1.3.6.1.2.1")), 5)

    def test_two_object_subtree(self):
        records = self.assertWalkMatches("two", ".1.3.6.1.4.1.99999.1")
        self.assertEqual(records, [(".1.3.6.1.4.1.99999.1.1.0", b"first"), (".1.3.6.1.4.1.99999.1.2.0", b"-42")])

    def test_odd_values(self):
        records = dict(self.assertWalkMatches("odd", ".1.3.6.1.4.1.99999.3"))
        # What the Windows manager hands over: the Opaque's bytes.
        self.assertEqual(records[".1.3.6.1.4.1.99999.3.1.0"], b"9F 78 04 41 20 00 00")
        self.assertEqual(records[".1.3.6.1.4.1.99999.3.7.0"], b"6F 70 61 71 75 65 0A")
        self.assertEqual(len(records[".1.3.6.1.4.1.99999.3.8.0"]), VALUE_LIMIT)
        long_name = ".1.3.6.1.4.1.99999.3.9" + ".4294967295" * 100
        self.assertIn(long_name[:NAME_LIMIT], records)
        self.assertIn(".1.3.6.1.4.1.99999.3.10.0", records)  # the walk went on past the long name
        # The name's text in full would not fit a reader's buffer: it comes cut to 1,023 characters.
        result = probe("getnext", self.agent.address, "odd", ".1.3.6.1.4.1.99999.3.8.0")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.decode(), long_name[:1023] + " = 5\n")

    def test_a_walk_into_a_full_file_fails(self):
        def limited():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)  # writes past the limit fail, the program goes on
            resource.setrlimit(resource.RLIMIT_FSIZE, (2048, 2048))

        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "walk.txt")
            result = subprocess.run([SNMPPROBE, "walk", self.agent.address, "odd", ".1.3.6.1.4.1.99999.3", path],
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300, preexec_fn=limited)
            self.assertEqual(os.path.getsize(path), 2048)
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"the walk could not be written", result.stderr)

    def test_leaf_root(self):
        records, final = probe_walk(self.agent.address, "linksys-system", ".1.3.6.1.2.1.1.5.0")
        self.assertEqual(records, [])
        self.assertEqual(final, b"End of MIB subtree.\n\n")


def probe(*arguments):
    return subprocess.run([SNMPPROBE, *arguments], stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)


class RecordedQueries(unittest.TestCase):
    """GET and GETNEXT against recorded devices, their error variation and a slow agent."""

    @classmethod
    def setUpClass(cls):
        folder = tempfile.mkdtemp(prefix="rtprobe-records-")
        # Answers only after 2.5 s, later than the manager's time-out and retry allow.
        with open(os.path.join(folder, "slow.snmprec"), "w") as out:
            out.write("1.3.6.1.2.1.1.1.0|4:delay|value=slow device,wait=2500\n")
            out.write("1.3.6.1.2.1.1.5.0|4|quick\n")
        files = ["recorded/linksys-system.snmprec", "variation/error.snmprec", os.path.join(folder, "slow.snmprec")]
        cls.agent = Snmpsim(files, "linksys-system").__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.agent.stop()

    def test_values_come_back_by_type(self):
        result = probe("get", self.agent.address, "linksys-system", ".1.3.6.1.2.1.1.1.0", ".1.3.6.1.2.1.1.3.0",
                       "1.5.0")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.decode(), '.1.3.6.1.2.1.1.1.0 = "BEFSX41"\n'
                                                 '.1.3.6.1.2.1.1.3.0 = 638239\n'
                                                 '.1.3.6.1.2.1.1.5.0 = "isp-gw"\n')
        result = probe("getnext", self.agent.address, "linksys-system", ".1.3.6.1.2.1.1.4")
        self.assertEqual(result.stdout.decode(), '.1.3.6.1.2.1.1.4.0 = "Linksys"\n')

    def test_error_statuses_of_the_agent(self):
        for oid in (".1.3.6.1.2.1.2.2.1.1.1", ".1.3.6.1.2.1.2.2.1.6.1", ".1.3.6.1.2.1.1.99.0"):
            with self.subTest(oid=oid):
                result = probe("get", self.agent.address, "error", oid)
                self.assertEqual(result.returncode, 1)
                self.assertTrue(result.stdout.decode().endswith("error: SNMP_ERRORSTATUS_NOSUCHNAME\n"),
                                result.stdout)

    def test_no_answer_in_time(self):
        # The same device answers its other objects at once (asked first: the simulator serves
        # one request at a time, and the slow one keeps it busy).
        result = probe("get", self.agent.address, "slow", ".1.3.6.1.2.1.1.5.0")
        self.assertEqual(result.stdout.decode(), '.1.3.6.1.2.1.1.5.0 = "quick"\n')
        start = time.monotonic()
        result = probe("get", self.agent.address, "slow", ".1.3.6.1.2.1.1.1.0")
        took = time.monotonic() - start
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"no answer", result.stderr)
        self.assertLess(took, 2 * 1.0 + 1.0)  # (retries + 1) x time-out, and the program's start
        # Let the simulator finish the slow answer before the next test asks it anything.
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            if probe("get", self.agent.address, "slow", ".1.3.6.1.2.1.1.5.0").returncode == 0:
                break


class LiveAgent(unittest.TestCase):
    """snmpd's values move (up time, counters): values must agree where two snmpwalks around the
    walk agree; the objects and their order must agree everywhere."""

    def test_mib2_and_load_averages(self):
        # The load table holds floats in Opaques (laLoadFloat).
        with Snmpd() as agent:
            for root, least in ((".1.3.6.1.2.1", 1000), (".1.3.6.1.4.1.2021.10", 20)):
                with self.subTest(root=root):
                    before = snmpwalk(agent.address, "netpub", root)
                    records, final = probe_walk(agent.address, "netpub", root)
                    records = as_snmpwalk_prints(records)
                    after = snmpwalk(agent.address, "netpub", root)
                    self.assertEqual(final, b"End of MIB subtree.\n\n")
                    self.assertGreater(len(records), least)
                    self.assertEqual([oid for oid, _ in records], [oid for oid, _ in before])
                    steady = {oid: value for (oid, value), (_, later) in zip(before, after) if value == later}
                    self.assertGreater(len(steady), len(records) // 2)
                    for oid, value in records:
                        if oid in steady:
                            self.assertEqual(value, steady[oid], oid)


class NoAgent(unittest.TestCase):
    def test_silence_ends_the_walk_with_the_request_error(self):
        records, final = probe_walk(f"127.0.0.1:{free_udp_port()}", "netpub", ".1.3.6.1.2.1.1")
        self.assertEqual(records, [])
        self.assertEqual(final, b"error on SnmpMgrRequest 40\n")


if __name__ == "__main__":
    unittest.main()
