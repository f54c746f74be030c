"""The Python module against the command line: the same bytes, reports and
messages."""

import ast
import json
import re
import sys
import threading
import time
from pathlib import Path

import pytest

import logfsm
from conftest import EXAMPLES, SHARED_LOGS, generate, write_log

PUBLISHED = ["running_example", "stackar", "roadtraffic100", "cruise_control", "receipt"]


@pytest.mark.parametrize("seed,k", [(1, 2), (2, 3), (3, 4), (4, 5)])
def test_generated_logs_learn_the_command_lines_bytes(seed, k, tmp_path, learned_by_cli):
    traces = generate(seed, 300)
    dot, json_text = learned_by_cli(write_log(tmp_path / "gen.txt", traces), k)
    model = logfsm.learn(traces, k)
    assert (model.dot(), model.json()) == (dot, json_text)
    assert model.save(tmp_path / "py") == (f"{tmp_path}/py_out_{k}.dot", f"{tmp_path}/py_out_{k}.json")
    assert (tmp_path / f"py_out_{k}.dot").read_bytes() == dot
    assert (tmp_path / f"py_out_{k}.json").read_bytes() == json_text


@pytest.mark.parametrize("name", PUBLISHED)
@pytest.mark.parametrize("k", [2, 3])
def test_published_logs_learn_the_command_lines_bytes(name, k, tmp_path, learned_by_cli):
    log = SHARED_LOGS / f"{name}.txt"
    if not log.exists():
        pytest.skip(f"{log} is absent")
    model = logfsm.learn(logfsm.read_log(log), k)
    assert (model.dot(), model.json()) == learned_by_cli(log, k)


def test_str_and_bytes_names_are_the_same_bytes(tmp_path, learned_by_cli):
    traces = [["caf\u00e9", "b"], ["caf\u00e9", "b c"], ["b"]]
    as_bytes = [[n.encode() for n in t] for t in traces]
    assert logfsm.learn(traces, 2).json() == logfsm.learn(as_bytes, 2).json()
    odd = [[b"\xff", b"b"], [b"\xff", b"\xc3("], [b"b"]]  # not UTF-8
    model = logfsm.learn(odd, 2)
    assert (model.dot(), model.json()) == learned_by_cli(write_log(tmp_path / "odd.txt", odd), 2)
    # Names come back as str that encode to the same bytes, and are taken back.
    assert "\udcff(0)" in model.states
    assert model.check([[n.decode("utf-8", "surrogateescape") for n in t] for t in odd]).accepted == 3


def test_traces_from_any_iterable_with_generators():
    expected = logfsm.learn([["a", "b"], ["a", "c"]], 2).json()
    assert logfsm.learn((iter(t) for t in (("a", "b"), ("a", "c"))), 2).json() == expected


def test_an_exception_in_progress_ends_learning_with_it(orders):
    class Stop(Exception):
        pass

    def stop(done, total):
        raise Stop(done)

    with pytest.raises(Stop):
        logfsm.learn(orders, 3, progress=stop)
    assert logfsm.learn(orders, 3).states  # the module works on afterwards


@pytest.fixture(scope="module")
def long_log():
    """Traces that take a good part of a second to learn at k = 4."""
    return generate(1, 20000, alphabet=12, states=10)


def test_another_thread_runs_while_learning(long_log):
    seen, started, finished = [], threading.Event(), threading.Event()

    def sample():
        started.set()
        while not finished.is_set():
            seen.append(time.perf_counter())
            time.sleep(0.001)

    thread = threading.Thread(target=sample)
    thread.start()
    started.wait()
    begun = time.perf_counter()
    logfsm.learn(long_log, 4)
    ended = time.perf_counter()
    finished.set()
    thread.join()
    quarter = (ended - begun) / 4
    assert quarter > 0.005, "the log learns too fast to tell"
    # Holding the lock would leave no sample in the middle of the learning.
    assert len([t for t in seen if begun + quarter < t < ended - quarter]) > 2


def test_progress_reports_increasing_counts_up_to_the_last_trace(long_log):
    calls = []
    logfsm.learn(long_log, 4, progress=lambda done, total: calls.append((done, total)))
    assert len(calls) > 1 and calls[-1] == (20000, 20000)
    assert [d for d, _ in calls] == sorted({d for d, _ in calls}) and {t for _, t in calls} == {20000}


def test_check_reports_as_the_command_line(tmp_path, cli):
    traces = generate(7, 400)
    model = logfsm.learn(traces[:200], 3)
    model.save(tmp_path / "train")
    held_out = traces[200:] + [[], ["e1", "unknown"]]
    done = cli("check", "--json", tmp_path / "train_out_3.json", write_log(tmp_path / "test.txt", held_out))
    expected = json.loads(done.stdout)
    report = model.check(held_out)
    assert (report.total, report.accepted) == (expected["traces"], expected["accepted"])
    assert [(r.index + 1, r.position, r.reason, r.event, r.allowed) for r in report.rejected] == [
        (r["line"], r["position"], r["reason"], r["event"], r["allowed"]) for r in expected["rejected"]
    ]
    assert report.rejected and report.accepted < report.total
    loaded = logfsm.Model.load(tmp_path / "train_out_3.json")
    assert (loaded.states, loaded.transitions, loaded.accepting, loaded.initial, loaded.k) == (
        model.states, model.transitions, model.accepting, ("s0(-1)",), None)
    assert loaded.check(held_out).accepted == report.accepted


TIMES = ("seconds", "replay_seconds")


@pytest.mark.parametrize("jobs", [1, 2])
def test_evaluate_gives_the_rows_of_the_command_line(jobs, tmp_path, cli):
    traces, negatives = generate(8, 120), generate(9, 30, alphabet=9)
    done = cli("eval", "--json", "--k", "2-4", "--folds", 4, "--negatives",
               write_log(tmp_path / "neg.txt", negatives), write_log(tmp_path / "log.txt", traces))
    expected = [{key: v for key, v in row.items() if key not in TIMES} for row in json.loads(done.stdout)["rows"]]
    rows = logfsm.evaluate(traces, [4, 2, 3], folds=4, negatives=negatives, jobs=jobs)
    assert [{key: v for key, v in row.items() if key not in TIMES} for row in rows] == expected
    assert all(set(TIMES) <= set(row) for row in rows)


def test_view_holds_the_check_of_the_traces(tmp_path, orders):
    model = logfsm.learn(orders[:30], 3)
    try:
        model.view(orders, tmp_path / "v.html")
    except ValueError as e:
        pytest.skip(str(e))  # a build without the browser libraries
    page = (tmp_path / "v.html").read_text()
    data = json.loads(re.search(r'id="logfsm-data">(.*?)</script>', page, re.S).group(1))
    assert data["accepted"] == model.check(orders).accepted
    assert len(data["traces"]) == len(orders)


@pytest.mark.parametrize(
    "name,options",
    [("orders.xes", {"lifecycle": "complete"}), ("orders.xes", {"lifecycle": ["complete"]}),
     ("orders.csv", {}), ("orders.csv", {"case_column": "Case ID", "activity_column": ["Activity"]}),
     ("orders.log", {"regex": r"^\S+ \S+ INFO +\[order (?P<case>\d+)\] (?P<event>.+) \(by \w+\)$",
                     "skip": [".* DEBUG .*"]})])
@pytest.mark.filterwarnings("ignore:.*left out")
def test_every_format_reads_the_traces_of_the_text_log(name, options, orders):
    assert logfsm.read_log(EXAMPLES / name, **options) == orders


def test_every_reading_option_of_the_command_line_is_a_keyword(cli, orders):
    options = cli("--help").stdout.decode().split("\nreading options")[1]
    for option in re.findall(r"^  --([a-z-]+)", options, re.M):
        assert logfsm.read_log(EXAMPLES / "orders.txt", **{option.replace("-", "_"): None}) == orders


def test_reader_notes_are_warnings():
    with pytest.warns(UserWarning, match="events of other lifecycle transitions left out"):
        logfsm.read_log(EXAMPLES / "orders.xes", lifecycle="complete")


@pytest.mark.parametrize(
    "call,error,message",
    [(lambda o: logfsm.learn(o, 1), ValueError, "Parameter must be 2 or more."),
     (lambda o: logfsm.learn(o, 2**31), ValueError, "Parameter is out of range."),
     (lambda o: logfsm.learn([[], []], 2), ValueError, "Log is empty or the format is incorrect."),
     (lambda o: logfsm.learn(["ab"], 2), TypeError, "trace 0 is one str or bytes"),
     (lambda o: logfsm.learn([["a", 3]], 2), TypeError, r"not int \(trace 0, event 1\)"),
     (lambda o: logfsm.read_log("/nonexistent/l.txt"), OSError, "/nonexistent/l.txt: cannot open"),
     (lambda o: logfsm.read_log(EXAMPLES / "orders.txt", input_format="x"), ValueError,
      r"unknown input format: x \(txt, xes, csv or regex\)"),
     (lambda o: logfsm.read_log(EXAMPLES / "orders.txt", colour=1), TypeError, "unknown reading option: colour"),
     (lambda o: logfsm.read_log(EXAMPLES / "orders.csv", delimiter="ab"), ValueError, "--delimiter takes one character"),
     (lambda o: logfsm.read_log(EXAMPLES / "orders.csv", case_column="x"), ValueError,
      'no column "x" in the header'),
     (lambda o: logfsm.evaluate(o, "2-x"), ValueError, '"2-x" is not a k of 2 or more'),
     (lambda o: logfsm.evaluate(o[:3], [2]), ValueError, "5 folds need at least 5 traces; the log has 3"),
     (lambda o: logfsm.evaluate(o, [2], folds=1), ValueError, "folds takes a whole number from 2 to 1000000"),
     (lambda o: logfsm.Model.load("/nonexistent.json"), OSError, "/nonexistent.json: cannot open or read"),
     (lambda o: logfsm.Model.load(EXAMPLES / "orders.txt"), logfsm.ModelError,
      "orders.txt: malformed JSON at line 1, column 1"),
     (lambda o: logfsm.learn(o, 2).save("/nonexistent/m"), OSError,
      "Cannot write output file: /nonexistent/m_out_2.dot")])
def test_errors_carry_the_command_lines_messages(call, error, message, orders):
    with pytest.raises(error, match=message):
        call(orders)


def test_a_model_error_is_a_value_error_with_checks_message(cli):
    assert issubclass(logfsm.ModelError, ValueError)
    done = cli("check", EXAMPLES / "orders.txt", EXAMPLES / "orders.txt")
    with pytest.raises(logfsm.ModelError) as raised:
        logfsm.Model.load(EXAMPLES / "orders.txt")
    assert done.stderr.decode() == f"logfsm check: {raised.value}\n"



def test_dataframes_need_pandas(monkeypatch):
    monkeypatch.setitem(sys.modules, "pandas", None)
    with pytest.raises(ImportError, match="needs pandas"):
        logfsm.traces_from_dataframe(object())


@pytest.mark.parametrize("change", ["none", "datetimes", "shuffled", "renamed"])
def test_dataframes_read_as_their_csv_export(change, tmp_path):
    pd = pytest.importorskip("pandas")
    frame = pd.read_csv(EXAMPLES / "orders.csv")
    columns = {}
    if change == "datetimes":
        frame["Complete Timestamp"] = pd.to_datetime(frame["Complete Timestamp"])
    elif change == "shuffled":
        frame = frame.sample(frac=1, random_state=3)
    elif change == "renamed":
        frame = frame.rename(columns={"Case ID": "c", "Activity": "a", "Complete Timestamp": "t"})
        columns = {"case": "c", "activity": ["a"], "timestamp": "t"}
    frame.to_csv(tmp_path / "export.csv", index=False)
    expected = logfsm.read_log(tmp_path / "export.csv", case_column=columns.get("case"),
                               activity_column=columns.get("activity"),
                               timestamp_column=columns.get("timestamp"))
    assert logfsm.traces_from_dataframe(frame, **columns) == expected


def test_dataframe_messages_name_rows_and_keywords():
    pd = pytest.importorskip("pandas")
    with pytest.raises(ValueError, match=r"^no case column among the columns: who, what "
                                         r"\(name one with case=\)$"):
        logfsm.traces_from_dataframe(pd.DataFrame({"who": ["1"], "what": ["a"]}))
    frame = pd.DataFrame({"case": ["1", None, "1"], "activity": ["a", "b", "c"],
                          "time": ["2024-01-02", "2024-01-01", "x"]})
    with pytest.warns(UserWarning) as warned:
        assert logfsm.traces_from_dataframe(frame) == [["a", "c"]]
    assert [str(w.message) for w in warned] == [
        "1 row without a case left out (row 1)",
        '1 case kept in file order because a timestamp did not parse (row 2, "x")']


def test_the_stub_stands_beside_the_module_and_names_its_api():
    stub = Path(logfsm.__file__).with_name("logfsm.pyi")
    tree = ast.parse(stub.read_text())
    named = {n.name for n in tree.body if isinstance(n, (ast.FunctionDef, ast.ClassDef))}
    assert named == {name for name in dir(logfsm) if not name.startswith("_")}
    for cls in (n for n in tree.body if isinstance(n, ast.ClassDef)):
        members = {n.name for n in cls.body if isinstance(n, ast.FunctionDef)}
        assert members == {m for m in vars(getattr(logfsm, cls.name)) if not m.startswith("_")}
