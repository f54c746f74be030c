"""Learn finite-state machines from event logs, check logs against them and
read logs in every format logfsm reads, with the command line's bytes."""

from collections.abc import Callable, Iterable, Sequence
from os import PathLike
from typing import Union

Name = Union[str, bytes]
Traces = Iterable[Sequence[Name]]
Path = Union[str, PathLike[str]]

class ModelError(ValueError):
    """A model file that is not a machine written by logfsm."""

class Rejection:
    """A trace that the model rejects."""
    @property
    def index(self) -> int: ...
    @property
    def position(self) -> int: ...
    @property
    def reason(self) -> str: ...
    @property
    def event(self) -> str | None: ...
    @property
    def allowed(self) -> list[str]: ...

class CheckReport:
    """What Model.check found."""
    @property
    def total(self) -> int: ...
    @property
    def accepted(self) -> int: ...
    @property
    def rejected(self) -> list[Rejection]: ...

class Model:
    """A machine learned by logfsm.learn or read by Model.load."""
    @staticmethod
    def load(path: Path) -> Model: ...
    def dot(self) -> bytes: ...
    def json(self) -> bytes: ...
    def save(self, stem: Path) -> tuple[str, str]: ...
    @property
    def k(self) -> int | None: ...
    @property
    def states(self) -> tuple[str, ...]: ...
    @property
    def transitions(self) -> tuple[tuple[str, str, str], ...]: ...
    @property
    def accepting(self) -> tuple[str, ...]: ...
    @property
    def initial(self) -> tuple[str, ...]: ...
    def check(self, traces: Traces) -> CheckReport: ...
    def view(self, traces: Traces, path: Path, examples: int = ...) -> None: ...

def learn(
    traces: Traces, k: int, progress: Callable[[int, int], object] | None = None
) -> Model: ...
def evaluate(
    traces: Traces,
    ks: str | Iterable[int],
    folds: int = 5,
    negatives: Traces | None = None,
    jobs: int | None = None,
) -> list[dict[str, int | float]]: ...
def traces_from_dataframe(
    df: object,
    case: str | None = None,
    activity: str | Sequence[str] | None = None,
    timestamp: str | None = None,
    *,
    timestamp_format: str | None = None,
    no_sort: bool = False,
) -> list[list[str]]: ...
def read_log(
    path: Path,
    *,
    input_format: str | None = ...,
    classifier: str | Sequence[str] | None = ...,
    lifecycle: str | Sequence[str] | None = ...,
    sort_by_time: bool = ...,
    delimiter: str | None = ...,
    case_column: str | None = ...,
    activity_column: str | Sequence[str] | None = ...,
    timestamp_column: str | None = ...,
    timestamp_format: str | None = ...,
    no_sort: bool = ...,
    regex: str | Sequence[str] | None = ...,
    separator: str | None = ...,
    skip: str | Sequence[str] | None = ...,
) -> list[list[str]]: ...
