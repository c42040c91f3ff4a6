#!/usr/bin/env python3
"""The demo dispatch room with a telephone exchange and a client's telephone.

Runs inside a network namespace that has only loopback (./taxi phone-demo puts it
there): Kamailio as the exchange on 127.0.0.1:5060, baresip as the client's telephone,
the archiver, the web distance stand-in and the workstation. No STUN server runs: the
workstation asks STUN from its own port 3478, which a server on the same computer would
hold, and on loopback there is no other address to find. The demo's
operators (extensions 101, 102 and 103) register with the passwords of the demo's
TARIF.INI ("demo" followed by the extension). The terminal drives the client's
telephone:

    Enter or "c"      the client calls extension 101 (the first demo dispatcher)
    "c 102"           the client calls another extension
    "a"               the client answers the dispatcher's call
    "h"               the client hangs up
    "q"               everything stops

Arguments after "--" go to the workstation; --silent-headset gives it a headset that
hears silence, for a computer without a sound card (GarnituraDispetcher.ini is then
written for it when there is none).
"""

import argparse
import json
import math
import os
import select
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time

EXCHANGE = "127.0.0.1"
EXCHANGE_PORT = 5060
CLIENT_SIP_PORT = 5070
CONTROL_PORT = 5090
PASSWORD_PREFIX = "demo"


def say(text):
    print("phone-demo: " + text, flush=True)


def write_tone(path, seconds=600, rate=8000):
    """An 8 kHz 16-bit mono WAV of a quiet 440 Hz tone: what the client says."""
    samples = bytearray()
    for i in range(rate * seconds):
        samples += struct.pack("<h", int(6000 * math.sin(2 * math.pi * 440 * i / rate)))
    header = b"RIFF" + struct.pack("<I", 36 + len(samples)) + b"WAVEfmt "
    header += struct.pack("<IHHIIHH", 16, 1, 1, rate, rate * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(samples))
    with open(path, "wb") as wav:
        wav.write(header + samples)


class Control:
    """baresip's ctrl_tcp: JSON commands framed as netstrings."""

    def __init__(self, port):
        deadline = time.time() + 10
        while True:
            try:
                self.sock = socket.create_connection((EXCHANGE, port), timeout=1)
                break
            except OSError:
                if time.time() > deadline:
                    raise
                time.sleep(0.2)
        self.sock.setblocking(False)
        self.buffer = b""
        self.token = 0

    def command(self, name, params=""):
        self.token += 1
        body = json.dumps({"command": name, "params": params, "token": str(self.token)}).encode()
        self.sock.setblocking(True)
        self.sock.sendall(str(len(body)).encode() + b":" + body + b",")
        self.sock.setblocking(False)

    def events(self):
        """The events and replies that arrived, decoded."""
        try:
            while True:
                chunk = self.sock.recv(65536)
                if not chunk:
                    break
                self.buffer += chunk
        except BlockingIOError:
            pass
        messages = []
        while b":" in self.buffer:
            length, _, rest = self.buffer.partition(b":")
            if not length.isdigit() or len(rest) < int(length) + 1:
                break
            size = int(length)
            messages.append(json.loads(rest[:size].decode("utf-8", "replace")))
            self.buffer = rest[size + 1:]
        return messages


def start(command, log_path, **kwargs):
    log = open(log_path, "wb")
    return subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT, start_new_session=True, **kwargs)


def stop(process, wait_seconds=5):
    if process is None or process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
        process.wait(wait_seconds)
    except (ProcessLookupError, subprocess.TimeoutExpired):
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass


def exchange_answers(timeout=10):
    """Kamailio answers an OPTIONS addressed to itself once it is ready."""
    probe = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    probe.bind((EXCHANGE, 0))
    options = ("OPTIONS sip:%s:%d SIP/2.0\r\nVia: SIP/2.0/UDP %s:%d;branch=z9hG4bKdemo%%d\r\n"
               "From: <sip:demo@%s>;tag=demo\r\nTo: <sip:%s>\r\nCall-ID: demo-ready\r\n"
               "CSeq: 1 OPTIONS\r\nMax-Forwards: 70\r\nContent-Length: 0\r\n\r\n"
               % (EXCHANGE, EXCHANGE_PORT, EXCHANGE, probe.getsockname()[1], EXCHANGE, EXCHANGE))
    probe.settimeout(0.3)
    deadline = time.time() + timeout
    attempt = 0
    while time.time() < deadline:
        attempt += 1
        probe.sendto((options % attempt).encode(), (EXCHANGE, EXCHANGE_PORT))
        try:
            if probe.recv(4096).startswith(b"SIP/2.0 200"):
                return True
        except OSError:
            time.sleep(0.2)
    return False


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", required=True, help="folder of the dispatcher and the archiver")
    parser.add_argument("--kamailio-cfg", required=True)
    parser.add_argument("--database", required=True, help="the demo database, for the archiver")
    parser.add_argument("--client", default="0953350668", help="the telephone number of the calling client")
    parser.add_argument("--web-distance-port", type=int, default=0, help="where the web distance stand-in listens")
    parser.add_argument("dispatcher_args", nargs="*")
    args = parser.parse_args()

    if os.environ.get("TAXI_LOOPBACK_NAMESPACE") != "inside":
        say("run me through ./taxi phone-demo: the exchange must live in a loopback-only network namespace")
        return 2
    for program in ("kamailio", "baresip"):
        if not shutil.which(program) and not os.path.exists("/usr/sbin/" + program):
            say(program + " is not installed")
            return 2

    work = tempfile.mkdtemp(prefix="taxi-phone-demo-")
    processes = []
    try:
        kamailio = shutil.which("kamailio") or "/usr/sbin/kamailio"
        processes.append(start([kamailio, "-f", args.kamailio_cfg,
                                "-A", 'PBX_PASSWORD="%s"' % PASSWORD_PREFIX, "-A", "PASSWORD_ENDS_WITH_USER",
                                "-l", "udp:%s:%d" % (EXCHANGE, EXCHANGE_PORT), "-DD", "-E",
                                "-Y", work, "-P", os.path.join(work, "kamailio.pid"), "-w", work,
                                "-m", "32", "-M", "4"], os.path.join(work, "kamailio.log")))
        if not exchange_answers():
            with open(os.path.join(work, "kamailio.log"), errors="replace") as log:
                say("Kamailio did not come up:\n" + log.read()[-3000:])
            return 1
        say("the exchange listens on %s:%d" % (EXCHANGE, EXCHANGE_PORT))

        client_folder = os.path.join(work, "baresip")
        os.mkdir(client_folder)
        write_tone(os.path.join(client_folder, "tone.wav"))
        with open(os.path.join(client_folder, "config"), "w") as config:
            config.write("poll_method epoll\nsip_listen %s:%d\nnet_interface %s\n"
                         "audio_source aufile,%s\naudio_player\naudio_alert\nrtp_ports 5100-5119\n"
                         "call_max_calls 1\nstatmode_default off\nmodule_path /usr/lib/baresip/modules\n"
                         "module g711.so\nmodule aufile.so\nmodule_app account.so\nmodule_app menu.so\n"
                         "module_app ctrl_tcp.so\nctrl_tcp_listen %s:%d\n"
                         % (EXCHANGE, CLIENT_SIP_PORT, EXCHANGE, os.path.join(client_folder, "tone.wav"),
                            EXCHANGE, CONTROL_PORT))
        with open(os.path.join(client_folder, "accounts"), "w") as accounts:
            accounts.write('<sip:%s@%s>;auth_pass=%s%s;outbound="sip:%s:%d";regint=600;'
                           "answermode=manual;audio_codecs=PCMA\n"
                           % (args.client, EXCHANGE, PASSWORD_PREFIX, args.client, EXCHANGE, EXCHANGE_PORT))
        processes.append(start(["baresip", "-f", client_folder], os.path.join(work, "baresip.log")))
        telephone = Control(CONTROL_PORT)
        say("the client's telephone is %s" % args.client)

        processes.append(start([os.path.join(args.bin, "taxi-archiver"), args.database, "--interval", "30"],
                               os.path.join(work, "archiver.log")))
        if args.web_distance_port:
            processes.append(start([os.path.join(args.bin, "webdistance"), "--port", str(args.web_distance_port)],
                                   os.path.join(work, "webdistance.log")))
        dispatcher_args = list(args.dispatcher_args)
        if "--silent-headset" in dispatcher_args:
            # The silent headset's two devices, so the operator's line connects at log-in.
            headset = os.path.join(args.bin, "GarnituraDispetcher.ini")
            if not os.path.exists(headset):
                with open(headset, "wb") as ini:
                    ini.write(b"[SETWAVE]\r\nIN=Fake Headset Microphone\r\nOUT=Fake Headset\r\n")
                say("wrote %s for the silent headset" % headset)
        workstation = subprocess.Popen([os.path.join(args.bin, "dispatcher")] + dispatcher_args,
                                       stdin=subprocess.DEVNULL, start_new_session=True)
        processes.append(workstation)

        say("log in as a demo dispatcher (password = his number); his line registers at the exchange.")
        say("Enter: the client calls 101 | c 102: calls 102 | a: answers | h: hangs up | q: quit")
        while workstation.poll() is None:
            ready, _, _ = select.select([sys.stdin, telephone.sock], [], [], 0.5)
            for event in telephone.events():
                if event.get("event"):
                    say("client's telephone: %s %s" % (event.get("type", ""), event.get("param", "")))
            if sys.stdin not in ready:
                continue
            line = sys.stdin.readline()
            if not line:
                break
            words = line.split()
            key = words[0] if words else "c"
            if key == "q":
                break
            if key == "c":
                extension = words[1] if len(words) > 1 else "101"
                telephone.command("dial", "sip:%s@%s" % (extension, EXCHANGE))
            elif key == "a":
                telephone.command("accept")
            elif key == "h":
                telephone.command("hangup")
        return 0
    finally:
        # The telephones first: baresip unregisters and would wait for a vanished exchange.
        for process in reversed(processes):
            stop(process)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
