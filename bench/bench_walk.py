"""Walks mib-2 of a local snmpd with snmpprobe and with Net-SNMP's snmpwalk -v1, in turn, and prints
both times and their ratio. Figures only.  Usage: bench_walk.py SNMPPROBE [ROUNDS]"""
import os
import subprocess
import sys
import tempfile
import time

from agents import Snmpd


def timed(command):
    start = time.monotonic()
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True,
                   env=dict(os.environ, MIBS=""))
    return time.monotonic() - start


def main():
    snmpprobe = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    with Snmpd() as agent, tempfile.TemporaryDirectory() as folder:
        walk = os.path.join(folder, "walk.txt")
        ours, theirs = [], []
        for _ in range(rounds):
            ours.append(timed([snmpprobe, "walk", agent.address, "netpub", ".1.3.6.1.2.1", walk]))
            theirs.append(timed(["snmpwalk", "-v1", "-On", "-c", "netpub", agent.address, ".1.3.6.1.2.1"]))
        with open(walk, "rb") as out:
            objects = out.read().count(b"Variable = ")
    best_ours, best_theirs = min(ours), min(theirs)
    print(f"mib-2 walk of a local snmpd, {objects} objects, best of {rounds}:")
    print(f"  snmpprobe walk  {best_ours:.3f} s")
    print(f"  snmpwalk -v1    {best_theirs:.3f} s")
    print(f"  ratio           {best_ours / best_theirs:.2f} (goal: at most 1.2)")


if __name__ == "__main__":
    main()
