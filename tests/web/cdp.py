"""A small client of the DevTools protocol over Chromium's --remote-debugging-pipe
(JSON messages ended by a zero byte on file descriptors 3 and 4), using only
Python's standard library."""
import json
import os
import select
import subprocess
import time


class ProtocolError(Exception):
    pass


class Chromium:
    """A headless Chromium with one page attached in flat session mode."""

    def __init__(self, executable, user_data_dir, log_path):
        to_browser_read, self._to_browser = os.pipe()
        self._from_browser, from_browser_write = os.pipe()

        def child_fds():
            # The browser reads commands on 3 and writes answers on 4.
            read, write = os.dup(to_browser_read), os.dup(from_browser_write)
            os.dup2(read, 3)
            os.dup2(write, 4)

        args = [
            executable, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
            "--no-first-run", "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--disable-dev-shm-usage", "--user-data-dir=" + user_data_dir,
            "--remote-debugging-pipe",
            "--autoplay-policy=no-user-gesture-required", "--window-size=1100,1000", "about:blank",
        ]
        self._log = open(log_path, "wb")
        self.process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=self._log, stderr=self._log,
                                        close_fds=False, preexec_fn=child_fds)
        os.close(to_browser_read)
        os.close(from_browser_write)
        self._buffer = b""
        self._next_id = 0
        self._events = []
        self.session = None

    def close(self):
        try:
            self.send("Browser.close", session=False, timeout=10)
        except (ProtocolError, OSError):
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        for fd in (self._to_browser, self._from_browser):
            os.close(fd)
        self._log.close()

    def _read_message(self, deadline):
        while b"\0" not in self._buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                raise ProtocolError("no answer from the browser in time")
            ready, _, _ = select.select([self._from_browser], [], [], left)
            if not ready:
                continue
            chunk = os.read(self._from_browser, 1 << 16)
            if not chunk:
                raise ProtocolError("the browser closed its pipe")
            self._buffer += chunk
        message, self._buffer = self._buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, params=None, session=True, timeout=30):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            answer = self._read_message(deadline)
            if answer.get("id") == self._next_id:
                if "error" in answer:
                    raise ProtocolError(f"{method}: {answer['error']}")
                return answer.get("result", {})
            self._events.append(answer)

    def attach_page(self):
        targets = self.send("Target.getTargets", session=False)["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self.session = self.send("Target.attachToTarget", {"targetId": page["targetId"], "flatten": True},
                                 session=False)["sessionId"]

    def evaluate(self, expression, timeout=30):
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                "awaitPromise": True}, timeout=timeout)
        if "exceptionDetails" in result:
            raise ProtocolError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, expression, timeout, pause=0.1):
        """Polls a page expression until it is true; returns its last value."""
        deadline = time.monotonic() + timeout
        while True:
            value = self.evaluate(expression)
            if value or time.monotonic() > deadline:
                return value
            time.sleep(pause)

    def descendant_pids(self):
        """The browser and every process it started, from /proc."""
        parents = {}
        for entry in os.listdir("/proc"):
            if entry.isdigit():
                try:
                    with open(f"/proc/{entry}/stat") as stat:
                        fields = stat.read().rsplit(")", 1)[1].split()
                    parents[int(entry)] = int(fields[1])
                except OSError:
                    continue
        family = {self.process.pid}
        grew = True
        while grew:
            grew = False
            for pid, parent in parents.items():
                if parent in family and pid not in family:
                    family.add(pid)
                    grew = True
        return family

    def cpu_seconds(self):
        """Processor time used so far by the browser's processes that are still alive."""
        ticks = os.sysconf("SC_CLK_TCK")
        total = 0
        for pid in self.descendant_pids():
            try:
                with open(f"/proc/{pid}/stat") as stat:
                    fields = stat.read().rsplit(")", 1)[1].split()
                total += int(fields[11]) + int(fields[12])
            except OSError:
                continue
        return total / ticks
