#!/usr/bin/env python3
"""The layering check: every #include of a project header points down the layers or stays in its
own part (app -> easel -> platform -> host). Tests, tools, benchmarks, fuzz targets and examples
reach the code through public headers, except that the tests of a part may look inside that part.
Prints each offending include and exits 1; `make check-layers` runs it and CI calls that.
Usage: scripts/check_layers.py [file...]   (default: every C/C++ file git knows of)"""
import os
import re
import subprocess
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')

# A file's part, by the first pattern its path matches.
PARTS = [
    (r'app/', 'app'),
    (r'easel/include/easel/easel\.h$', 'easel-public'),
    (r'easel/include/easel/easel_testing\.h$', 'easel-public'),  # the package's test control
    # The runner's protocol: the environment settings and the shared report page through which
    # easel-run and the session inside the program it starts (easel/runner_session.cpp) talk.
    (r'easel/include/easel/runner_report\.h$', 'runner-interface'),
    (r'easel/', 'easel'),
    (r'platform/include/', 'platform-public'),
    # What the entry and the testing layer may ask of the core, each through its own header.
    (r'platform/src/entry_door\.h$', 'entry-door'),
    (r'platform/src/testing_door\.h$', 'testing-door'),
    (r'platform/src/', 'platform-core'),
    (r'platform/hosts/[^/]+\.h$', 'host-door'),
    (r'platform/hosts/([^/]+)/', 'host-{0}'),
    (r'platform/hosts/', 'host-table'),
    (r'platform/testing/', 'testing'),
    (r'platform/entry/', 'entry'),
    (r'tests/support/', 'test-support'),
    (r'tests/([^/]+)/', 'tests-{0}'),
    (r'(tools|bench|fuzz|examples|docs)/', '{0}'),
]

# What each part may include besides itself. The tests' support library (temporary directories,
# files, drawing points) serves the tests, benchmarks and fuzz targets; of ours, its header-only
# helpers for tests that link the library (PNG artifacts, the package's windows) include the
# window system's public and testing headers alone.
PUBLIC = {'easel-public', 'platform-public', 'app', 'runner-interface'}
CHECKS = PUBLIC | {'test-support'}
ALLOWED = {
    'app': {'easel-public'},
    'easel-public': set(),
    'runner-interface': set(),
    'easel': {'easel-public', 'platform-public', 'runner-interface'},
    'platform-core': {'platform-public', 'host-door', 'entry-door', 'testing-door'},
    'host-door': {'platform-public'},
    'entry-door': {'platform-public'},
    'testing-door': {'platform-public'},
    'host-table': {'host-door', 'platform-public', 'host-sdl', 'host-headless', 'host-web'},
    'host-*': {'host-door', 'platform-public'},
    'testing': {'platform-public', 'host-door', 'host-headless', 'testing-door'},
    'entry': {'platform-public', 'host-door', 'entry-door', 'easel-public'},
    'test-support': {'platform-public'},
    'tests-easel': CHECKS | {'easel'},
    'tests-platform': CHECKS | {'platform-core', 'host-door', 'host-headless', 'host-sdl',
                                'testing', 'entry-door', 'testing-door'},
    'tests-e2e': CHECKS | {'host-door'},
    # The package's tests built for Windows share the log's cases with the package's own tests.
    'tests-windows': CHECKS | {'easel', 'tests-easel'},
    'tests-*': CHECKS,
    'tools': PUBLIC, 'bench': CHECKS, 'fuzz': CHECKS, 'examples': PUBLIC, 'docs': PUBLIC,
}

# Where includes are looked for, after the including file's own folder (as the build's include
# paths give them to each part), and last from the repository's root, so that an include of any
# file of the tree is judged even where the build would not find it.
PUBLIC_ROOTS = ['easel/include', 'easel/include/easel', 'app/include', 'platform/include']
ROOTS = {
    'platform': ['platform/src', 'platform', 'platform/include'],
    'easel': PUBLIC_ROOTS,
    'app': PUBLIC_ROOTS,
    'tests/platform': ['.', 'tests', 'platform/src', 'platform'] + PUBLIC_ROOTS,
    'tests/e2e': ['.', 'tests', 'platform'] + PUBLIC_ROOTS,
    'tests': ['.', 'tests'] + PUBLIC_ROOTS,
}
# Tools, benchmarks and fuzz targets: the public headers and the tests' support library.
DEFAULT_ROOTS = ['tests'] + PUBLIC_ROOTS


def part_of(path):
    for pattern, name in PARTS:
        m = re.match(pattern, path)
        if m:
            return name.format(*m.groups())
    return 'other'


def allowed_for(part):
    if part in ALLOWED:
        return ALLOWED[part]
    prefix = part.split('-')[0] + '-*'
    return ALLOWED.get(prefix, set())


def resolve(path, name):
    parts = path.split('/')
    roots = ROOTS.get('/'.join(parts[:2])) or ROOTS.get(parts[0], DEFAULT_ROOTS)
    for root in [os.path.dirname(path)] + roots + ['.']:
        candidate = os.path.normpath(os.path.join(root, name))
        if os.path.isfile(candidate):
            return candidate
    return None


def main(argv):
    top = subprocess.run(['git', 'rev-parse', '--show-toplevel'], capture_output=True, text=True,
                         check=True).stdout.strip()
    os.chdir(top)
    files = argv or subprocess.run(['git', 'ls-files', '*.c', '*.cpp', '*.h'],
                                   capture_output=True, text=True, check=True).stdout.split()
    bad = 0
    for path in files:
        part = part_of(path)
        allowed = allowed_for(part) | {part}
        with open(path, encoding='utf-8', errors='replace') as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                target = m and resolve(path, m.group(1))
                if not target:
                    continue  # a system or library header
                to = part_of(target)
                if to not in allowed:
                    print(f'{path}:{number}: includes {target} ({part} may not include {to})')
                    bad += 1
    if bad:
        print(f'check-layers: {bad} includes cross the layers (app -> easel -> platform -> host)',
              file=sys.stderr)
        return 1
    print(f'check-layers: {len(files)} files, every include within the layers')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
