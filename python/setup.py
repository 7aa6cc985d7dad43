"""Builds the module boxpaint._boxpaint with the project's own CMake build, then packages
it with the Python files of python/boxpaint."""

import os
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(HERE)


def project_version():
    with open(os.path.join(REPOSITORY, "CMakeLists.txt")) as f:
        return re.search(r"project\(boxpaint\s+VERSION\s+([0-9.]+)", f.read()).group(1)


class CMakeBuild(build_ext):
    """Configures the repository with -DBOXPAINT_PYTHON=ON, builds the module's target and
    puts the module where setuptools packages it."""

    def build_extension(self, extension):
        build = os.path.abspath(os.path.join(self.build_temp, "cmake"))
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        subprocess.run(["cmake", "-S", REPOSITORY, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
                        "-DBOXPAINT_PYTHON=ON", "-DBOXPAINT_TESTS=OFF",
                        f"-DPython_EXECUTABLE={sys.executable}"], check=True)
        subprocess.run(["cmake", "--build", build, "--target", "boxpaint_python", "-j", jobs],
                       check=True)
        built = os.path.join(build, "python", "boxpaint")
        module = next(name for name in os.listdir(built) if name.startswith("_boxpaint."))
        target = self.get_ext_fullpath(extension.name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(os.path.join(built, module), target)


setup(
    version=project_version(),
    packages=["boxpaint"],
    package_data={"boxpaint": ["py.typed", "__init__.pyi"]},
    ext_modules=[Extension("boxpaint._boxpaint", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    zip_safe=False,
)
