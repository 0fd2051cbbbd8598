"""Real SNMP agents on 127.0.0.1 for tests and benchmarks: Net-SNMP's snmpd with a generated
configuration, and snmpsimd replaying recorded devices. Each listens on a free port, in a folder of
its own, and is stopped when its `with` block ends."""
import os
import shutil
import socket
import subprocess
import tempfile
import time

SNMPSIM_DATA = "/usr/share/doc/snmpsim/examples/data"
SNMPSIM_VARIATIONS = "/usr/share/snmpsim/variation"


def free_udp_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def _answers(port, community, oid):
    """Whether the agent answers a GET, asked with Net-SNMP's own tool."""
    result = subprocess.run(
        ["snmpget", "-v1", "-On", "-t", "0.3", "-r", "0", "-c", community, f"127.0.0.1:{port}", oid],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=dict(os.environ, MIBS=""))
    return result.returncode == 0


class _Agent:
    def __init__(self, community, probe_oid):
        self.community = community
        self.probe_oid = probe_oid
        self.folder = tempfile.mkdtemp(prefix="rtprobe-agent-")
        self.port = free_udp_port()
        self.process = None
        self.log = None

    @property
    def address(self):
        return f"127.0.0.1:{self.port}"

    def _start(self, command, env=None):
        self.log = open(os.path.join(self.folder, "agent.log"), "wb")
        self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log,
                                        env=env, cwd=self.folder)
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                break
            if _answers(self.port, self.community, self.probe_oid):
                return self
            time.sleep(0.1)
        self.stop()
        raise RuntimeError(f"agent {command[0]} did not come up; see {self.folder}/agent.log")

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.log is not None:
            self.log.close()
            self.log = None
        shutil.rmtree(self.folder, ignore_errors=True)

    def __exit__(self, *exc):
        self.stop()


class Snmpd(_Agent):
    """snmpd with the community "netpub", read-only, for 127.0.0.1 only."""

    def __init__(self, community="netpub"):
        super().__init__(community, ".1.3.6.1.2.1.1.1.0")

    def __enter__(self):
        config = os.path.join(self.folder, "snmpd.conf")
        with open(config, "w") as out:
            out.write(f"rocommunity {self.community} 127.0.0.1\n")
            out.write("sysLocation rtprobe test bench\nsysContact nobody\n")
        env = dict(os.environ, SNMP_PERSISTENT_DIR=os.path.join(self.folder, "persist"), MIBS="")
        return self._start(["snmpd", "-f", "-Lo", "-C", "-c", config, "-p", os.path.join(self.folder, "pid"),
                            f"udp:{self.address}"], env)


class Snmpsim(_Agent):
    """snmpsimd serving recorded devices; each file NAME.snmprec answers the community NAME."""

    def __init__(self, files, probe_community, probe_oid=".1.3.6.1.2.1.1.1.0"):
        super().__init__(probe_community, probe_oid)
        self.files = files

    def __enter__(self):
        data = os.path.join(self.folder, "data")
        cache = os.path.join(self.folder, "cache")
        os.makedirs(data)
        os.makedirs(cache)
        for source in self.files:
            shutil.copy(os.path.join(SNMPSIM_DATA, source), data)
        # The simulator drops its privileges to nobody, who must read the data and write the cache.
        os.chmod(self.folder, 0o755)
        os.chmod(cache, 0o777)
        for root, _, names in os.walk(data):
            os.chmod(root, 0o755)
            for name in names:
                os.chmod(os.path.join(root, name), 0o644)
        return self._start(["snmpsimd", f"--data-dir={data}", f"--agent-udpv4-endpoint={self.address}",
                            "--process-user=nobody", "--process-group=nogroup", f"--cache-dir={cache}",
                            f"--variation-modules-dir={SNMPSIM_VARIATIONS}"])
