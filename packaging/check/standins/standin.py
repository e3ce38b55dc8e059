"""What every stand-in for an Apple tool shares: it records how it was called, so that a check can
read the commands the release path ran, and it fails the way the real tool does."""
import json
import os
import sys
import tempfile
from importlib.machinery import SourceFileLoader
from importlib.util import module_from_spec, spec_from_loader
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))


def log_path():
    return Path(os.environ.get("FENWOLD_STANDIN_LOG") or Path(tempfile.gettempdir()) / "fenwold-standins.jsonl")


def record(tool, args):
    """Appends {tool, args, cwd} to the log (FENWOLD_STANDIN_LOG), one JSON object a line."""
    with open(log_path(), "a") as f:
        f.write(json.dumps({"tool": tool, "args": list(args), "cwd": os.getcwd()}) + "\n")


def commands(log=None):
    """The recorded commands, oldest first."""
    path = Path(log) if log else log_path()
    if not path.exists():
        return []
    return [json.loads(line) for line in path.read_text().splitlines() if line.strip()]


def state(name):
    """A file beside the log where a stand-in keeps what a later call needs (a notary verdict)."""
    return log_path().with_name(f"{log_path().name}.{name}")


def fail(tool, message, status=1):
    print(f"{tool}: {message}" if tool else message, file=sys.stderr)
    sys.exit(status)


def sibling(name):
    """Another stand-in as a module: its functions, without running it."""
    loader = SourceFileLoader(f"standin_{name.replace('-', '_')}", str(HERE / name))
    module = module_from_spec(spec_from_loader(loader.name, loader))
    loader.exec_module(module)
    return module
