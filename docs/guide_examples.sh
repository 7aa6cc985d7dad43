#!/usr/bin/env bash
# Runs every example of the user guide (docs/guide.md) with the programs of a build, in a
# scratch folder, and prints each command with what it prints and its status, for
# comparing with the guide after a change. It also draws the pictures of the guide and
# the README again, into docs/.
#
# Usage: docs/guide_examples.sh [BUILD_DIR]        (default: build). PYTHON names a Python
#        3 with numpy and PIL (default python3); jq runs the JSON example where installed.
set -uo pipefail
python=${PYTHON:-python3}

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
export PATH="$build:$PATH"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

# section TITLE: a heading in the transcript.
section() {
  printf '\n=== %s\n' "$1"
}

# run COMMAND: prints it as typed at a prompt, then runs it; a non-zero status is shown.
run() {
  printf '$ %s\n' "$1"
  bash -c "$1" 2>&1
  local status=$?
  [ "$status" -eq 0 ] || printf '[status %d]\n' "$status"
}

section "Overview: the usage text and the sample"
run "boxpaint"
run "boxpaint -inp | head -4"

section "Coordinates and units: depths typed as elevations"
cat >mesh.txt <<'EOF'
2 1 4             ! cells along easting, northing, elevation
0. 0. 0.          ! origin: west edge, south edge, top of the mesh at elevation 0
2*10.             ! easting widths (m)
10.               ! northing width (m)
4*10.             ! thicknesses from the top down (m)
EOF
cat >depths.inp <<'EOF'
1.                                 ! background
1                                  ! number of blocks
0. 20.  0. 10.   10.  20.   5.     ! meant as depths 10-20 m: WRONG
EOF
sed 's/  10.  20. /  -10. -20./; s/meant as depths 10-20 m: WRONG/elevations -10 to -20/' \
  depths.inp >elevations.inp
run "boxpaint mesh.txt depths.inp a.txt"
run "boxpaint mesh.txt elevations.inp b.txt"
run "paste a.txt b.txt | tr -d '\r'"
run "boxpaint-check mesh.txt depths.inp | tail -6"

section "How block bounds snap: the worked example"
mkdir snap && cd snap || exit 1
cat >mesh.txt <<'EOF'
8 1 4             ! cells along easting, northing, elevation
0. 0. 100.        ! origin: west edge, south edge, top of the mesh
8*10.             ! easting widths (m)
10.               ! northing width (m)
4*10.             ! thicknesses from the top down (m)
EOF
cat >blocks.inp <<'EOF'
0.                                  ! background
4                                   ! number of blocks
14. 26.   0. 10.   96. 84.   1.     ! A: grows to easting 10-30, elevation 100-80
46. 74.   0. 10.   94. 66.   2.     ! B: shrinks to easting 50-70, elevation 90-70
 0. 80.   0. 10.   78. 76.   3.     ! C: a 2 m layer just below 80 m: vanishes
35. 45.   0. 10.   75. 65.   4.     ! D: every bound halfway between two nodes
EOF
run "boxpaint mesh.txt blocks.inp model.txt; echo \$?"
run "wc -l model.txt"
run "head -8 model.txt"
run "boxpaint-view mesh.txt model.txt snapping-example.png --slice n=1"
cp snapping-example.png "$repo/docs/snapping-example.png"
cd "$work" || exit 1

section "Blank fields carry over"
cat >blank-mesh.txt <<'EOF'
6 1 3
0. 0. 30.
6*10.
10.
3*10.
EOF
cat >blank.inp <<'EOF'
0.                                  ! background
3                                   ! number of blocks
 0. 20.   0. 10.   10. 30.   1.     ! block 1
40. 60.   4*                 2.     ! block 2
20. 40.  /                          ! block 3
EOF
cat >upper.inp <<'EOF'
0.                                  ! background
2                                   ! number of blocks
 0. 20.   0. 10.   10. 30.   1.     ! block 1
0. 60.   0. 10.,,20.   5.           ! the upper elevation bound is left out
EOF
run "boxpaint blank-mesh.txt blank.inp blank.txt && tr -d '\r' <blank.txt | paste -s -d ' '"
run "boxpaint blank-mesh.txt upper.inp upper.txt && tr -d '\r' <upper.txt | paste -s -d ' '"

section "The model file: how values are written"
cat >values-mesh.txt <<'EOF'
1 1 11
0. 0. 0.
1.
1.
11*1.
EOF
{
  echo "0."
  echo "11"
  z=0
  for value in 0.05 -2.5 12345 9.9996e99 -1e300 1.7976931348623157e308 4.9406564584124654e-324 \
      NaN INF -Infinity -0.; do
    echo "0. 1.  0. 1.  $z $((z - 1)).  $value"
    z=$((z - 1))
  done
} >values.inp
run "boxpaint values-mesh.txt values.inp values.txt && tr -d '\r' <values.txt"

section "Loading a model into numpy (4 million cells)"
printf '200 200 100\n0. 0. 0.\n200*1.\n200*1.\n100*1.\n' >big-mesh.txt
printf '1.\n1\n10. 50. 10. 50. -10. -50. 2.5\n' >big.inp
boxpaint big-mesh.txt big.inp big.txt
# The Python module as the build made it (-DBOXPAINT_PYTHON=ON), for this section and the
# Python chapter.
if [ -d "$build/python/boxpaint" ]; then
  export PYTHONPATH="$build/python${PYTHONPATH:+:$PYTHONPATH}"
  run "$python -c 'import time, numpy, boxpaint; mesh = boxpaint.read_mesh(\"big-mesh.txt\"); \
t = time.time(); m = boxpaint.read_model(\"big.txt\", mesh); s = time.time() - t; \
t = time.time(); numpy.loadtxt(\"big.txt\"); print(m.shape, round(s, 3), \"s; loadtxt\", \
round((time.time() - t) / s, 1), \"times as long\")'"
else
  echo "(no Python module in $build: configure it with -DBOXPAINT_PYTHON=ON)"
fi

section "Traps"
run "boxpaint mesh.txt blocks.inpp model.txt; echo \$?"
printf '2 1 4\n0. 0. 0.\n2*10.\n10.\n4*10.\n' >trap-mesh.txt
printf '1.\n2\n0. 20.  0. 10.  -10. -20.   ! a line short of its value\n0. 20.  0. 10.  -20. -30.  7.\n' \
  >remark.inp
printf '1.\n2\n0. 20.  0. 10.  -10. -20.\n0. 20.  0. 10.  -20. -30.  7.\n' >short.inp
run "FOR_DISABLE_STACK_TRACE=yes boxpaint trap-mesh.txt remark.inp model.txt; echo \$?"
run "FOR_DISABLE_STACK_TRACE=yes boxpaint trap-mesh.txt short.inp model.txt; echo \$?"
run "boxpaint-check trap-mesh.txt short.inp"

section "Seeing a model with boxpaint-view"
cat >resistivity.inp <<'EOF'
 100.                                   ! background: 100 ohm m
 2                                      ! number of blocks
 100. 800.  500. 600.   60.  90.   1.   ! a conductor, 1 ohm m
 500. 600.  100. 800.  100. 140. 1000.  ! a resistor, 1000 ohm m
EOF
run "boxpaint $repo/examples/mesh.txt resistivity.inp rho.txt"
run "boxpaint-view $repo/examples/mesh.txt rho.txt rho.vtr && ls -l rho.vtr | cut -d' ' -f5-"
run "boxpaint-view $repo/examples/mesh.txt rho.txt rho-section.png --slice n@575 --log \
--label 'resistivity (Ω·m)' --size 945x400"
cp rho-section.png "$repo/docs/resistivity-section.png"
run "boxpaint-view $repo/examples/mesh.txt rho.txt rho-plan.png --slice z@75 --log \
--label 'resistivity (Ω·m)' --size 700x560"
cp rho-plan.png "$repo/docs/resistivity-plan.png"
run "boxpaint-view $repo/examples/mesh.txt rho.txt rho-section.pdf --slice n@575 --log \
--clim 10,1000 --label 'resistivity (ohm m)' --size 454x227"
# The PDF's title, as the same picture drawn as a PNG of the same size has it.
run "boxpaint-view $repo/examples/mesh.txt rho.txt rho-twin.png --slice n@575 --log \
--clim 10,1000 --label 'resistivity (ohm m)' --size 454x227 && \
$python -c 'from PIL import Image; print(Image.open(\"rho-twin.png\").text[\"Title\"])'"
run "boxpaint-view $repo/examples/mesh.txt rho.txt rho-true.pdf --slice n@575 --log \
--clim 10,1000 --label 'resistivity (ohm m)' --size 454x227 --exaggeration 1"
run "boxpaint $repo/examples/mesh.txt resistivity.inp CON | \
boxpaint-view $repo/examples/mesh.txt - rho-pipe.vtr && cmp rho.vtr rho-pipe.vtr && echo same"

section "Seeing a model with boxpaint-view: part of a section"
cat >layered.txt <<'EOF'
20 20 30                  ! cells along easting, northing, elevation
500000. 6105000. 200.     ! origin: survey coordinates; the top at elevation 200
20*50.                    ! easting widths (m)
20*50.                    ! northing widths (m)
5. 6.5 8.45 11. 14.3 18.6 24.1 31.4 40.8 53. 68.9 89.6 116. 151. 197. 256. 333. 433.
562. 731. 950. 1240. 1610. 2090. 2710. 3530. 4590. 5960. 7750. 10100.   ! thicknesses
EOF
cat >layered.inp <<'EOF'
 100.                                                  ! background: 100 ohm m
 2                                                     ! number of blocks
 500100. 500600.  6105000. 6106000.  150. 100.    1.   ! a conductor, 1 ohm m
 500300. 500400.  6105000. 6106000.   90.  20. 1000.   ! a resistor, 1000 ohm m
EOF
run "boxpaint layered.txt layered.inp layered-rho.txt"
run "boxpaint-view layered.txt layered-rho.txt layered-section.png --slice n@6105525 --log \
--elevation -300,200 --label 'resistivity (Ω·m)' --size 945x400"
cp layered-section.png "$repo/docs/layered-section.png"
run "boxpaint-view layered.txt layered-rho.txt layered-section.pdf --slice n@6105525 --log \
--elevation -300,200 --label 'resistivity (Ω·m)' --size 454x227"
cp layered-section.pdf "$repo/docs/layered-section.pdf"
run "boxpaint-view layered.txt layered-rho.txt layered-part.png --slice n@6105525 \
--northing 6105000,6106000"

section "Seeing a model with boxpaint-view: when something is wrong"
head -n 7998 rho.txt >short-rho.txt
run "boxpaint-view $repo/examples/mesh.txt short-rho.txt out.png --slice n@575"
sed '41s/.*/  1.0Q+0x /' rho.txt >bad-rho.txt
run "boxpaint-view $repo/examples/mesh.txt bad-rho.txt out.png --slice n@575"

section "Python: the worked example"
if [ -d "$build/python/boxpaint" ]; then
  mkdir python && cd python || exit 1
  sed -n '/^import matplotlib$/,/^fig.savefig("python-section.png", dpi=100)$/p' \
    "$repo/docs/guide.md" >example.py
  run "$python example.py && ls mesh.txt blocks.inp model.txt python-section.png"
  run "boxpaint mesh.txt blocks.inp cli.txt && cmp cli.txt model.txt && echo same"
  cp python-section.png "$repo/docs/python-section.png"
  # The ensemble's two scripts, on 12 members of the worked example's blocks.
  "$python" -c 'import boxpaint
background, blocks = boxpaint.read_blocks("blocks.inp")
for n in range(12):
    blocks[:, 6] *= 1.1
    boxpaint.write_blocks(f"member{n}.inp", background, blocks)'
  sed -n '/^from concurrent.futures import ProcessPoolExecutor$/,/^            print(done)$/p' \
    "$repo/docs/guide.md" | sed 's/1000/12/g' >futures.py
  run "$python futures.py | tail -1"
  sed -n '/^if __name__ == "__main__":$/q; p' futures.py >dask_ensemble.py
  echo 'if __name__ == "__main__":' >>dask_ensemble.py
  sed -n '/^    from dask.distributed import Client, LocalCluster$/,/^            print(done)$/p' \
    "$repo/docs/guide.md" | sed 's/1000/12/g' >>dask_ensemble.py
  run "$python dask_ensemble.py 2>/dev/null | tail -1 && cmp member11.txt \
<(boxpaint mesh.txt member11.inp CON) && echo same as boxpaint"
  cd "$work" || exit 1
else
  echo "(no Python module in $build: configure it with -DBOXPAINT_PYTHON=ON)"
fi

section "The README's picture"
run "boxpaint $repo/examples/mesh.txt $repo/examples/blocks.inp model.txt"
run "boxpaint-view $repo/examples/mesh.txt model.txt example-slice.png --slice n@575 \
--size 945x400"
cp example-slice.png "$repo/docs/example-slice.png"

section "Checking a block file with boxpaint-check"
cat >check-mesh.txt <<'EOF'
20 20 20          ! cells along easting, northing, elevation
0. 0. 0.          ! easting, northing, elevation of the first node (top of the mesh)
20*50.            ! easting widths, cells 1..ne
20*50.            ! northing widths, cells 1..nn
20*10.            ! elevation thicknesses from the top down, cells 1..nz
EOF
cat >check.inp <<'EOF'
 0.0                                      ! background
 6                                        ! number of blocks
 100. 800.  500. 600.  -140. -110.  .05   ! 1 a layer
 520. 580.  400. 500.   -90.  -70.  .03   ! 2 a lens inside the dyke
 500. 600.  100. 800.  -100.  -60.  .08   ! 3 the dyke
 300. 400.  300. 400.    50.  150.  .12   ! 4 50 to 150 m below sea level
 200. 220.  200. 400.  -100.  -50.  .02   ! 5 thinner than a cell
1000. 1200.   0. 1000. -200.    0.  .07   ! 6 east of the mesh
EOF
mkdir -p check && cp check-mesh.txt check/mesh.txt && cp check.inp check/blocks.inp
cd check || exit 1
run "boxpaint-check mesh.txt blocks.inp"
run "boxpaint-check mesh.txt blocks.inp mesh.txt | grep 'model file'"
sed 's/-11O\.\|-110\./-11O./' blocks.inp >typo.inp
run "boxpaint-check mesh.txt typo.inp"
run "boxpaint-check mesh.txt absent.inp"
run "boxpaint-check --json mesh.txt blocks.inp | grep '\"block\": 4,'"
if command -v jq >/dev/null; then
  run "boxpaint-check --json mesh.txt blocks.inp | jq -r '.blocks[] | select(.warnings != []) \
| \"\\(.block): \\(.warnings[0])\"'"
fi
