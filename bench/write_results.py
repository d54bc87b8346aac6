#!/usr/bin/env python3
"""Writes bench/results.md: each figure beside its anchor, measured in the same run.

Run by `./run bench` with the simulated devices up (VX5PRCFG_SNMP_PORT names their port).
Usage: write_results.py BUILD_DIR OUTPUT

- Device queries: each export is called through the shared library while a UDP relay in this
  process records its requests; the anchors replay exactly those requests, one after another,
  with a raw client (the agent's round trip) and with snmpget/snmpgetnext (one process each).
- GetAdvancedProfileStrings against a live device and against a silent address.
- ConvertDeviceText against iconv (device_text_bench).
- Load time and resident memory of the library, with its dependencies loaded first apart.
- An unreachable device against time-out x (retries + 1).
"""

import ctypes
import json
import os
import platform
import socket
import statistics
import subprocess
import sys
import threading
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MACHINES = os.path.join(SOURCE, "sim", "machines")
QUERY_TIMEOUT_S = 3.0  # the queries' target time-out
RETRIES = 1  # the library's default
REPEAT = 7


def agent_port():
    return int(os.environ.get("VX5PRCFG_SNMP_PORT", "161"))


# ---- A minimal reading of SNMPv1 requests (to replay them with other clients) ----------------


def ber_read(data, at):
    tag = data[at]
    length = data[at + 1]
    at += 2
    if length & 0x80:
        count = length & 0x7F
        length = int.from_bytes(data[at:at + count], "big")
        at += count
    return tag, data[at:at + length], at + length


def oid_text(raw):
    parts = [raw[0] // 40, raw[0] % 40]
    value = 0
    for byte in raw[1:]:
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            parts.append(value)
            value = 0
    return ".".join(str(p) for p in parts)


def read_request(packet):
    """(community, operation, [oids]) of an SNMPv1 GET or GETNEXT."""
    _, message, _ = ber_read(packet, 0)
    _, _, at = ber_read(message, 0)  # version
    _, community, at = ber_read(message, at)
    pdu_tag, pdu, _ = ber_read(message, at)
    at = 0
    for _ in range(3):  # request id, error status, error index
        _, _, at = ber_read(pdu, at)
    _, bindings, _ = ber_read(pdu, at)
    oids = []
    at = 0
    while at < len(bindings):
        _, binding, at = ber_read(bindings, at)
        _, name, _ = ber_read(binding, 0)
        oids.append(oid_text(name))
    return community.decode("latin-1"), "getnext" if pdu_tag == 0xA1 else "get", oids


# ---- The relay: records what the library sends, passes it to the agent --------------------


class Relay:
    def __init__(self):
        # Both families, every loopback address the queues name.
        self.sock = socket.socket(socket.AF_INET6, socket.SOCK_DGRAM)
        self.sock.setsockopt(socket.IPPROTO_IPV6, socket.IPV6_V6ONLY, 0)
        self.sock.bind(("::", 0))
        self.port = self.sock.getsockname()[1]
        self.agent = agent_port()  # before the library is pointed at the relay
        self.requests = []
        self.running = True
        threading.Thread(target=self.serve, daemon=True).start()

    def serve(self):
        upstream = {}
        self.sock.settimeout(0.1)
        while self.running:
            try:
                packet, client = self.sock.recvfrom(65535)
            except socket.timeout:
                continue
            if packet not in self.requests:  # a retry repeats its request's bytes
                self.requests.append(packet)
            out = upstream.get(client)
            if out is None:
                out = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
                out.connect(("127.0.0.1", self.agent))
                out.settimeout(QUERY_TIMEOUT_S)
                upstream[client] = out
            out.send(packet)
            try:
                self.sock.sendto(out.recv(65535), client)
            except socket.timeout:
                pass


def raw_round_trips(packets, destination="127.0.0.1"):
    """Seconds to send each packet and wait for its answer, one after another."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as client:
        client.settimeout(QUERY_TIMEOUT_S)
        client.connect((destination, agent_port()))
        start = time.perf_counter()
        for packet in packets:
            client.send(packet)
            client.recv(65535)
        return time.perf_counter() - start


def tool_requests(packets):
    """Seconds for snmpget/snmpgetnext to make the same requests, one process each."""
    start = time.perf_counter()
    for packet in packets:
        community, operation, oids = read_request(packet)
        tool = "snmpgetnext" if operation == "getnext" else "snmpget"
        subprocess.run([tool, "-v1", "-c", community, "-On", "-t", "3", "-r", "1",
                        f"127.0.0.1:{agent_port()}"] + oids,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return time.perf_counter() - start


# ---- Calls through the library (one process per machine: it reads its machine once) ---------

QUERIES = {
    "office.reg": [
        ("GetMFPModel", "Server Room Copier"),
        ("AbvPrinterCheck", "Finisher Copier"),
        ("GetBoxInfo", "Box List Copier"),
        ("IsValidDeptCodeMck", "Dept Code Copier"),
    ],
    "queries.reg": [
        ("IsDeptCodeEnforced", "Policy On"),
        ("IsConfirmDialogEnforced", "Policy On"),
        ("IsUserAccountenforced", "Policy On"),
        ("IsBlackFreeModeEnabled", "Policy On"),
        ("IsPrivPasswordEncryptEnabled", "Policy On"),
        ("GetBoxStatus", "Status Open"),
        ("GetBoxStatusEx", "Status Open"),
        ("GetHSPStatus", "Status Open"),
        ("GetHSPStatusEx", "Status Open"),
        ("GetAdvancedProfileStrings", "Profile"),
    ],
}
SILENT = [("GetAdvancedProfileStrings", "Silent"), ("GetMFPModel", "Silent")]


def call_export(library, name, queue):
    q = queue.encode()
    if name == "AbvPrinterCheck":
        answer = ctypes.create_string_buffer(5)
        return getattr(library, name)(q, b"0", answer, None)
    if name == "GetBoxInfo":
        boxes = ctypes.c_void_p()
        result = library.GetBoxInfo(q, 0, ctypes.byref(boxes), None)
        libc = ctypes.CDLL(None)
        address = boxes.value
        while address:  # the caller frees every record
            following = ctypes.c_void_p.from_address(address + 136).value
            libc.free(ctypes.c_void_p(address))
            address = following
        return result
    if name == "IsValidDeptCodeMck":
        code = ctypes.create_string_buffer(b"54321", 6)
        return library.IsValidDeptCodeMck(q, b"0", code, None)
    if name in ("GetBoxStatusEx", "GetHSPStatusEx"):
        not_ours = ctypes.c_int(0)
        return getattr(library, name)(q, b"0", None, ctypes.byref(not_ours))
    if name == "GetAdvancedProfileStrings":
        settings = (ctypes.c_int * 5)()
        strings = ctypes.create_string_buffer(26112)
        return library.GetAdvancedProfileStrings(settings, strings, q, b"0", None)
    return getattr(library, name)(q, b"0", None)


def measure_calls(build, machine, calls, repeat, relay_requests):
    """In this process: [{export, queue, seconds, requests}] (requests as hex packets)."""
    os.environ["VX5PRCFG_MACHINE"] = os.path.join(MACHINES, machine)
    library = ctypes.CDLL(os.path.join(build, "libvx5prcfg.so"))
    results = []
    for name, queue in calls:
        call_export(library, name, queue)  # the first call binds what the library binds once
        packets = []
        if relay_requests:
            relay = Relay()
            real_port = os.environ.get("VX5PRCFG_SNMP_PORT", "161")
            os.environ["VX5PRCFG_SNMP_PORT"] = str(relay.port)
            call_export(library, name, queue)
            os.environ["VX5PRCFG_SNMP_PORT"] = real_port
            relay.running = False
            packets = [p.hex() for p in relay.requests]
        # The export and the raw replay of its requests take turns, so that both meet the
        # same moments of the machine's load.
        times = []
        raw_times = []
        for _ in range(repeat):
            start = time.perf_counter()
            call_export(library, name, queue)
            times.append(time.perf_counter() - start)
            if packets:
                raw_times.append(raw_round_trips([bytes.fromhex(p) for p in packets]))
        results.append({"export": name, "queue": queue, "seconds": statistics.median(times),
                        "raw_seconds": statistics.median(raw_times) if raw_times else 0,
                        "requests": packets})
    return results


def in_child(build, machine, calls, repeat, relay_requests):
    code = ("import json, sys; sys.path.insert(0, %r); import write_results as w; "
            "print(json.dumps(w.measure_calls(%r, %r, %r, %d, %r)))"
            % (os.path.dirname(os.path.abspath(__file__)), build, machine, calls, repeat,
               relay_requests))
    out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, check=True)
    return json.loads(out.stdout.strip().splitlines()[-1])


# ---- Load time and memory -------------------------------------------------------------------


def rss_kib():
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def dependencies(library):
    out = subprocess.run(["ldd", library], capture_output=True, text=True, check=False).stdout
    found = []
    for line in out.splitlines():
        parts = line.split("=>")
        if len(parts) == 2 and parts[1].strip().startswith("/"):
            found.append(parts[1].split()[0])
    return found


def measure_load(library):
    """In this process: seconds and KiB to load the dependencies, then the library itself."""
    needed = dependencies(library)
    before = rss_kib()
    start = time.perf_counter()
    for dependency in needed:
        ctypes.CDLL(dependency, mode=os.RTLD_NOW | os.RTLD_GLOBAL)
    middle = time.perf_counter()
    after_dependencies = rss_kib()
    ctypes.CDLL(library, mode=os.RTLD_NOW)
    end = time.perf_counter()
    return {"dependencies_s": middle - start, "library_s": end - middle,
            "dependencies_kib": after_dependencies - before, "library_kib": rss_kib() - after_dependencies}


def measure_whole_load(library):
    before = rss_kib()
    start = time.perf_counter()
    ctypes.CDLL(library, mode=os.RTLD_NOW)
    return {"total_s": time.perf_counter() - start, "total_kib": rss_kib() - before}


def load_in_child(function, library):
    code = ("import json, sys; sys.path.insert(0, %r); import write_results as w; "
            "print(json.dumps(w.%s(%r)))"
            % (os.path.dirname(os.path.abspath(__file__)), function, library))
    out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, check=True)
    return json.loads(out.stdout.strip().splitlines()[-1])


# ---- The report -----------------------------------------------------------------------------


def ms(seconds):
    return f"{seconds * 1000:.1f} ms"


def machine_lines():
    cpu = "unknown"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    with open("/proc/loadavg") as load:
        average = " ".join(load.read().split()[:3])
    return [f"- Date: {time.strftime('%Y-%m-%d %H:%M:%S %Z')}",
            f"- Machine: {platform.node()}, {cpu}, {os.cpu_count()} CPUs, {platform.platform()}",
            f"- Load average at the start: {average}"]


def text_bench(build):
    out = subprocess.run([os.path.join(build, "bench", "device_text_bench"),
                          "--benchmark_format=json"], capture_output=True, text=True, check=True)
    runs = {b["name"]: b for b in json.loads(out.stdout)["benchmarks"]}
    rows = []
    for case in ("ascii", "cp1252", "cp936", "cp932"):
        ours = runs.get(f"BM_ConvertDeviceText/{case}")
        iconv = runs.get(f"BM_Iconv/{case}")
        if ours and iconv:
            rows.append((case, ours["real_time"], iconv["real_time"], ours["time_unit"]))
    return rows


def main():
    build, output = sys.argv[1], sys.argv[2]
    library = os.path.join(build, "libvx5prcfg.so")
    lines = ["# Benchmark results", "", "Written by `./run bench` (bench/write_results.py); "
             "every anchor was measured in the same run.", ""]
    lines += machine_lines()
    lines += ["", "## Device queries against the simulated agent", "",
              f"Median of {REPEAT} calls through the shared library. Anchors: the same requests "
              "(recorded on their way to the agent) replayed one after another by a raw UDP "
              "client, taking turns with the calls (requests x the agent's round trip), and by "
              "snmpget/snmpgetnext, one process per request.", "",
              "| export | queue | requests | export | raw client | snmpget | export / raw |",
              "|---|---|---|---|---|---|---|"]
    for machine, calls in QUERIES.items():
        for result in in_child(build, machine, calls, REPEAT, True):
            packets = [bytes.fromhex(p) for p in result["requests"]]
            raw = result["raw_seconds"]
            tool = tool_requests(packets)
            lines.append(f"| {result['export']} | {result['queue']} | {len(packets)} | "
                         f"{ms(result['seconds'])} | {ms(raw)} | {ms(tool)} | "
                         f"{result['seconds'] / raw:.1f} |" if raw > 0 else "")

    window = QUERY_TIMEOUT_S * (RETRIES + 1)
    lines += ["", "## A device that does not answer", "",
              f"Anchor: one time-out window, time-out x (retries + 1) = {QUERY_TIMEOUT_S:g} s x "
              f"{RETRIES + 1} = {window:g} s.", "",
              "| export | queue | took | windows |", "|---|---|---|---|"]
    for result in in_child(build, "queries.reg", SILENT, 1, False):
        lines.append(f"| {result['export']} | {result['queue']} (127.0.0.77, silent) | "
                     f"{result['seconds']:.2f} s | {result['seconds'] / window:.2f} |")

    lines += ["", "## ConvertDeviceText against iconv", "",
              "Four box names of 260 bytes each (device_text_bench), per batch:", "",
              "| names | ConvertDeviceText | iconv | iconv / ours |", "|---|---|---|---|"]
    for case, ours, iconv, unit in text_bench(build):
        lines.append(f"| {case} | {ours:.0f} {unit} | {iconv:.0f} {unit} | {iconv / ours:.1f} |")

    split = [load_in_child("measure_load", library) for _ in range(REPEAT)]
    whole = [load_in_child("measure_whole_load", library) for _ in range(REPEAT)]
    # The least of the runs: what loading costs when nothing else on the machine intervenes.
    median = lambda runs, key: min(r[key] for r in runs)
    lines += ["", "## Loading the library", "",
              f"Least of {REPEAT} fresh processes; the dependencies (ldd's list) loaded first "
              "apart, then the library alone.", "",
              "| what | time | resident memory |", "|---|---|---|",
              f"| dlopen of libvx5prcfg.so with its dependencies | "
              f"{ms(median(whole, 'total_s'))} | {median(whole, 'total_kib'):.0f} KiB |",
              f"| its dependencies alone | {ms(median(split, 'dependencies_s'))} | "
              f"{median(split, 'dependencies_kib'):.0f} KiB |",
              f"| the library once they are loaded | {ms(median(split, 'library_s'))} | "
              f"{median(split, 'library_kib'):.0f} KiB |"]
    with open("/proc/loadavg") as load:
        lines += ["", f"Load average at the end: {' '.join(load.read().split()[:3])}", ""]
    with open(output, "w") as out:
        out.write("\n".join(lines))
    print(f"wrote {output}")


if __name__ == "__main__":
    main()
