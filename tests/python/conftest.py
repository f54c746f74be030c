"""Shared fixtures of the module's tests: the command-line binary, generated
logs and the published logs."""

import os
import random
import subprocess
from pathlib import Path

import pytest

import logfsm

SHARED_LOGS = Path(os.environ.get("LOGFSM_SHARED_LOGS", "/nonexistent"))
EXAMPLES = Path(__file__).resolve().parents[2] / "examples"


def generate(seed, traces, alphabet=8, states=6):
    """Traces walked on a random machine: each state has a few events leading
    to other states, and a walk ends with some chance after each event."""
    rng = random.Random(seed)
    names = [f"e{i}" for i in range(alphabet)]
    moves = [[(rng.choice(names), rng.randrange(states)) for _ in range(3)] for _ in range(states)]
    log = []
    for _ in range(traces):
        state, trace = 0, []
        while not trace or rng.random() > 0.12:
            name, state = rng.choice(moves[state])
            trace.append(name)
        log.append(trace)
    return log


def write_log(path, traces):
    """The traces as a `;` text log; names may be str or bytes."""
    with open(path, "wb") as out:
        for trace in traces:
            out.write(b"".join((n if isinstance(n, bytes) else n.encode()) + b";" for n in trace))
            out.write(b"\n")
    return path


@pytest.fixture(scope="session")
def cli():
    """Runs the logfsm binary; returns the completed process."""
    binary = os.environ.get("LOGFSM_BINARY")
    if not binary:
        pytest.skip("LOGFSM_BINARY names no logfsm binary")

    def run(*args, cwd=None):
        return subprocess.run([binary, *map(str, args)], cwd=cwd, capture_output=True)

    return run


@pytest.fixture
def learned_by_cli(cli, tmp_path):
    """The DOT and JSON bytes that the command line writes for a log."""

    def learn(log, k):
        done = cli("--no-render", "-q", "--output-dir", tmp_path / "out", log, k)
        assert done.returncode == 0, done.stderr
        stem = tmp_path / "out" / f"{Path(log).name.split('.')[0]}_out_{k}"
        return Path(f"{stem}.dot").read_bytes(), Path(f"{stem}.json").read_bytes()

    return learn


@pytest.fixture(scope="session")
def orders():
    return logfsm.read_log(EXAMPLES / "orders.txt")
