#!/usr/bin/env python3
"""update_server.py: a local stand-in for the Norvane update server.

Serves the XML-RPC method vers.getLatestVersion(array[name, installed version], client
tag) at /current_version/server.php from a catalogue (JSON: name -> {"CurrentVersion",
"ProductURL"}): a struct for a known package, a fault for an unknown one. Requests may
come as a proxy receives them (absolute URI in the request line), and a body may end in
NUL bytes.

Tests drive it over HTTP on the same port (plain text or JSON, any method):
  POST /control/catalogue      body: the catalogue as JSON (replaces it)
  POST /control/behaviour      body: {"mode": ..., options} (see BEHAVIOURS)
  POST /control/reset          catalogue from the file again, normal behaviour, no records
  GET  /control/requests/count the number of requests recorded
  GET  /control/requests/N     the raw bytes of request N (0 first)
  POST /control/requests/clear forgets the recorded requests
  GET  /control/ping           "pong"

Usage:
  update_server.py --port P [--catalogue FILE]            serves in the foreground
  update_server.py --port P ... --detach --pidfile F --log L
                                                          starts in the background and
                                                          returns once it answers
  update_server.py --stop --pidfile F                     stops a detached server
"""

import argparse
import http.server
import json
import os
import signal
import socket
import socketserver
import struct
import subprocess
import sys
import threading
import time
import urllib.parse
import xmlrpc.client
import xmlrpc.server

RPC_PATH = "/current_version/server.php"

# Misbehaviours, with their options:
#   normal                         a correct answer
#   no-length                      no Content-Length header; the connection closes at the end
#   slow      delay, chunk         the body in chunks of `chunk` bytes, `delay` seconds apart
#   silent    hold                 reads the request, answers nothing for `hold` seconds
#   drop                           reads the request and closes the connection with a reset,
#                                  no answer
#   fault-after                    a valid struct followed by a <fault> element
#   truncate  bytes                announces the whole body, sends `bytes` of it, closes
#   huge-length length             announces `length` (default 2000000000), sends the body
#   length    length               announces the text `length` as Content-Length
#   garbage                        bytes that are no XML-RPC answer at all
#   raw       body                 sends `body` (text) as the answer
# Options of every mode:
#   packages  [names]              misbehave only for these packages; others get `normal`
#             {name: behaviour}    each named package its own behaviour; others get `normal`
#   latency   seconds              wait this long before answering (a distant server)
BEHAVIOURS = ("normal", "no-length", "slow", "silent", "drop", "fault-after", "truncate",
              "huge-length", "length", "garbage", "raw")


class _TeeReader:
    """Reads from a socket file and keeps a copy of every byte read."""

    def __init__(self, raw):
        self._raw = raw
        self.data = bytearray()

    def read(self, *args):
        chunk = self._raw.read(*args)
        self.data += chunk
        return chunk

    def readline(self, *args):
        line = self._raw.readline(*args)
        self.data += line
        return line

    def close(self):
        self._raw.close()


class UpdateState:
    """Catalogue, behaviour and recorded requests, shared by the handler threads."""

    def __init__(self, catalogue_file):
        self.lock = threading.Lock()
        self.catalogue_file = catalogue_file
        self.stopping = threading.Event()
        self.reset()

    def load_catalogue(self):
        if not self.catalogue_file:
            return {}
        with open(self.catalogue_file, encoding="utf-8") as f:
            return json.load(f)

    def reset(self):
        catalogue = self.load_catalogue()
        with self.lock:
            self.catalogue = catalogue
            self.behaviour = {"mode": "normal"}
            self.requests = []

    def latest_version(self, package, tag):
        """vers.getLatestVersion: the struct of a known package, a fault otherwise."""
        if not isinstance(package, list) or len(package) != 2:
            raise xmlrpc.client.Fault(2, "Expected array[name, version]")
        name = package[0]
        with self.lock:
            entry = self.catalogue.get(name)
        if entry is None:
            raise xmlrpc.client.Fault(1, "Unknown package: %s" % name)
        answer = {}
        # CurrentVersion comes first: clients look for ProductURL after it.
        if "CurrentVersion" in entry:
            answer["CurrentVersion"] = str(entry["CurrentVersion"])
        if "ProductURL" in entry:
            answer["ProductURL"] = str(entry["ProductURL"])
        return answer


def _package_of(data):
    """The package name a vers.getLatestVersion call asks about; None if there is none."""
    try:
        params, _ = xmlrpc.client.loads(data.decode("iso-8859-1"))
        return params[0][0]
    except Exception:  # any body that is no such call
        return None


class UpdateRequestHandler(xmlrpc.server.SimpleXMLRPCRequestHandler):
    rpc_paths = (RPC_PATH,)
    protocol_version = "HTTP/1.0"

    def setup(self):
        super().setup()
        self.rfile = _TeeReader(self.rfile)

    @property
    def state(self):
        return self.server.state

    def _path_only(self):
        # A proxy receives "POST http://host/path HTTP/1.0".
        parts = urllib.parse.urlsplit(self.path)
        return parts.path if parts.scheme else self.path

    def _read_body(self):
        length = self.headers.get("content-length")
        if length is None:
            return b""
        try:
            size = int(length)
        except ValueError:
            return b""
        return self.rfile.read(size) if size > 0 else b""

    def _send(self, code, body, content_type="text/plain", length=True):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        if length:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        self._dispatch_request()

    def do_POST(self):
        self._dispatch_request()

    def _dispatch_request(self):
        path = self._path_only()
        body = self._read_body()
        if path.startswith("/control/"):
            self._control(path[len("/control/"):], body)
            return
        with self.state.lock:
            self.state.requests.append(bytes(self.rfile.data))
            behaviour = dict(self.state.behaviour)
        if path not in self.rpc_paths or self.command != "POST":
            self._send(404, b"Not found")
            return
        # The client sends its body with the terminating NUL.
        data = body.rstrip(b"\0")
        only = behaviour.get("packages")
        if isinstance(only, dict):
            behaviour = dict(only.get(_package_of(data), {"mode": "normal"}))
        elif only is not None and _package_of(data) not in only:
            behaviour = {"mode": "normal", "latency": behaviour.get("latency", 0)}
        if self.state.stopping.wait(float(behaviour.get("latency", 0))):
            return
        # Read byte for byte: the client sends the ANSI bytes of its code page, no UTF-8.
        response = self.server._marshaled_dispatch(data.decode("iso-8859-1"), None, path)
        self._answer(response, behaviour)

    def _answer(self, response, behaviour):
        mode = behaviour.get("mode", "normal")
        if mode == "silent":
            self.state.stopping.wait(float(behaviour.get("hold", 40)))
            self.close_connection = True
            return
        if mode == "drop":
            # Closed with a reset (no linger), not a FIN: the client's wait for the status
            # line fails at once instead of reading an empty answer.
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            os.close(self.connection.detach())
            self.close_connection = True
            return
        if mode == "fault-after":
            fault = xmlrpc.client.dumps(xmlrpc.client.Fault(3, "Service withdrawn"), methodresponse=True)
            fault_element = fault[fault.index("<fault>"):fault.index("</methodResponse>")]
            response = response.replace(b"</methodResponse>", fault_element.encode() + b"</methodResponse>")
        elif mode == "garbage":
            response = b"\x89PNG\r\n\x1a\n<<<not xml-rpc>>> CurrentVersion without a value"
        elif mode == "raw":
            response = str(behaviour.get("body", "")).encode("latin-1")

        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        if mode == "huge-length":
            self.send_header("Content-Length", str(behaviour.get("length", 2000000000)))
        elif mode == "length":
            self.send_header("Content-Length", str(behaviour.get("length", "")))
        elif mode != "no-length":
            self.send_header("Content-Length", str(len(response)))
        self.end_headers()

        if mode == "truncate":
            self.wfile.write(response[:int(behaviour.get("bytes", len(response) // 2))])
        elif mode == "slow":
            chunk = max(1, int(behaviour.get("chunk", 16)))
            delay = float(behaviour.get("delay", 0.2))
            for start in range(0, len(response), chunk):
                self.wfile.write(response[start:start + chunk])
                self.wfile.flush()
                if self.state.stopping.wait(delay):
                    break
        else:
            self.wfile.write(response)
        self.close_connection = True

    def _control(self, command, body):
        state = self.state
        try:
            if command == "ping":
                self._send(200, b"pong")
            elif command == "catalogue":
                catalogue = json.loads(body.decode("utf-8"))
                if not isinstance(catalogue, dict):
                    raise ValueError("the catalogue is a JSON object")
                with state.lock:
                    state.catalogue = catalogue
                self._send(200, b"ok")
            elif command == "behaviour":
                behaviour = json.loads(body.decode("utf-8"))
                each = behaviour.get("packages")
                for b in [behaviour] + (list(each.values()) if isinstance(each, dict) else []):
                    if b.get("mode") not in BEHAVIOURS:
                        raise ValueError("unknown mode %r" % b.get("mode"))
                with state.lock:
                    state.behaviour = behaviour
                self._send(200, b"ok")
            elif command == "reset":
                state.reset()
                self._send(200, b"ok")
            elif command == "requests/count":
                with state.lock:
                    count = len(state.requests)
                self._send(200, str(count).encode())
            elif command == "requests/clear":
                with state.lock:
                    state.requests = []
                self._send(200, b"ok")
            elif command.startswith("requests/"):
                index = int(command[len("requests/"):])
                with state.lock:
                    raw = state.requests[index] if 0 <= index < len(state.requests) else None
                if raw is None:
                    self._send(404, b"no such request")
                else:
                    self._send(200, raw, "application/octet-stream")
            else:
                self._send(404, b"unknown control command")
        except (ValueError, UnicodeDecodeError, AttributeError) as error:
            self._send(400, str(error).encode())

    def log_message(self, format, *args):
        sys.stderr.write("%s %s\n" % (self.log_date_time_string(), format % args))


class UpdateServer(socketserver.ThreadingMixIn, xmlrpc.server.SimpleXMLRPCServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, state):
        super().__init__(address, requestHandler=UpdateRequestHandler, logRequests=True,
                         allow_none=False, encoding="iso-8859-1")
        self.state = state
        self.register_function(state.latest_version, "vers.getLatestVersion")


def _wait_until_answering(port, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=0.5):
                return True
        except OSError:
            time.sleep(0.1)
    return False


def _process_alive(pid):
    try:
        os.kill(pid, 0)
    except OSError:
        return False
    return True


def _read_pid(pidfile):
    try:
        with open(pidfile) as f:
            return int(f.read().strip())
    except (OSError, ValueError):
        return None


def stop(pidfile):
    pid = _read_pid(pidfile)
    if pid is not None and _process_alive(pid):
        os.kill(pid, signal.SIGTERM)
        for _ in range(50):
            if not _process_alive(pid):
                break
            time.sleep(0.1)
    if os.path.exists(pidfile):
        os.remove(pidfile)
    return 0


def detach(args):
    if not args.pidfile or not args.log:
        sys.stderr.write("--detach needs --pidfile and --log\n")
        return 2
    stop(args.pidfile)  # a server left over from an interrupted run
    if _wait_until_answering(args.port, 0.2):
        sys.stderr.write("port %d is already in use\n" % args.port)
        return 1
    command = [sys.executable, os.path.abspath(__file__), "--port", str(args.port), "--host", args.host]
    if args.catalogue:
        command += ["--catalogue", args.catalogue]
    with open(args.log, "ab") as log, open(os.devnull, "rb") as devnull:
        child = subprocess.Popen(command, stdin=devnull, stdout=log, stderr=log, start_new_session=True)
    with open(args.pidfile, "w") as f:
        f.write(str(child.pid))
    if not _wait_until_answering(args.port, 10) or child.poll() is not None:
        sys.stderr.write("the update server did not start; see %s\n" % args.log)
        stop(args.pidfile)
        return 1
    print("update server %d on port %d" % (child.pid, args.port))
    return 0


def main():
    parser = argparse.ArgumentParser(description="Local Norvane update server (XML-RPC).")
    parser.add_argument("--port", type=int, default=18765)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--catalogue", help="JSON file: name -> {CurrentVersion, ProductURL}")
    parser.add_argument("--detach", action="store_true", help="start in the background")
    parser.add_argument("--pidfile")
    parser.add_argument("--log")
    parser.add_argument("--stop", action="store_true", help="stop the server of --pidfile")
    args = parser.parse_args()

    if args.stop:
        return stop(args.pidfile) if args.pidfile else 2
    if args.detach:
        return detach(args)

    state = UpdateState(args.catalogue)
    server = UpdateServer((args.host, args.port), state)

    def on_term(signum, frame):
        state.stopping.set()
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, on_term)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        state.stopping.set()
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
