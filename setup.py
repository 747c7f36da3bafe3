"""Builds the extension module q64._q64: the library's sources of this tree
(platform, profiler, numlib, primetable, primequery) compiled as the
optimised CMake build compiles them, with the bindings of python/bindings/.

The sources compile on a thread pool, one compiler per processor
(Q64_BUILD_JOBS overrides the count); the bindings go first, being the
longest. With Q64_WERROR=1 (the test command) warnings are errors. The
package's version is the project()'s VERSION of CMakeLists.txt,
the number `primes --version` prints. Build files go to build/python/.
"""
import os
import platform
import re
from pathlib import Path

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension, build_ext
from setuptools import setup

ROOT = Path(__file__).resolve().parent
LIBRARY_FOLDERS = ("platform", "profiler", "numlib", "primetable", "primequery")
BINDINGS = Path("python") / "bindings"
# Flags of the interpreter's build that the library's optimised build does not
# use (debug information, -O2 before our -O3, wrapping signed arithmetic, the
# stack protector), so that both run the same code.
DROPPED_FLAGS = {"-g", "-O2", "-fwrapv", "-fstack-protector-strong"}


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    match = re.search(r"project\(\s*\S+\s+VERSION\s+([0-9.]+)", text)
    if match is None:
        raise RuntimeError("CMakeLists.txt: no project(... VERSION x.y.z) line")
    return match.group(1)


def tree_files(folders, pattern):
    """Repository-relative paths of the files matching `pattern` below `folders`."""
    return sorted(str(p.relative_to(ROOT)) for folder in folders for p in (ROOT / folder).rglob(pattern))


class BuildLibrary(build_ext):
    """Compiles with the library's flags instead of the interpreter's, on a
    thread pool, the bindings first (the module itself takes longest)."""

    def build_extensions(self):
        for attribute in ("compiler_so", "linker_so"):
            command = getattr(self.compiler, attribute, None)
            if command:
                setattr(self.compiler, attribute, [f for f in command if f not in DROPPED_FLAGS])
        parallel = ParallelCompile("Q64_BUILD_JOBS", default=0).function()
        compiler = self.compiler

        def compile_bindings_first(sources, *args, **kwargs):
            ordered = sorted(sources, key=lambda s: (not s.startswith(str(BINDINGS)), "py_module" not in s))
            return parallel(compiler, ordered, *args, **kwargs)

        compiler.compile = compile_bindings_first
        super().build_extensions()


version = project_version()
extension = Pybind11Extension(
    "q64._q64",
    sources=tree_files([BINDINGS], "*.cpp") + tree_files(LIBRARY_FOLDERS, "*.cpp"),
    depends=tree_files(LIBRARY_FOLDERS + ("include", str(BINDINGS)), "*.h")
    + tree_files(LIBRARY_FOLDERS, "*.def"),
    include_dirs=[str(ROOT / "include"), str(ROOT)],
    define_macros=[("Q64_VERSION", f'"{version}"')],
    # -mpopcnt: the prime count's sieves count bits with the processor's
    # instruction on x86-64, as the CMake build compiles primequery/counting/.
    extra_compile_args=["-O3", "-Wall", "-Wextra", "-pthread"]
    + (["-mpopcnt"] if platform.machine() in ("x86_64", "AMD64") else [])
    + (["-Werror"] if os.environ.get("Q64_WERROR") else []),
    extra_link_args=["-pthread"],
    cxx_std=20,
)

setup(
    version=version,
    ext_modules=[extension],
    cmdclass={"build_ext": BuildLibrary},
    options={"build": {"build_base": os.path.join("build", "python")}},
)
