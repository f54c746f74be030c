#!/usr/bin/env python3
"""Opens views written by logfsm in headless Chromium, offline, and checks
what they draw and show against the data embedded in them and against
`logfsm check`. Exit status: 0 passed, 1 failed, 77 no browser (skipped)."""

import argparse
import collections
import pathlib
import random
import shutil
import subprocess
import sys
import time
import urllib.parse
import xml.etree.ElementTree as ElementTree

try:
    from selenium import webdriver
    from selenium.common.exceptions import WebDriverException
    from selenium.webdriver.chrome.service import Service
except ImportError:
    webdriver = None
    WebDriverException = RuntimeError

SKIPPED = 77
FIRST_SHOWN = 80  # transitions the first view draws at most

TRAINING = ['start;say "hi";end;', 'start;café;say "hi";end;', 'start;<b> & co;end;',
            'start;café;café;end;', 'start;say "hi";café;end;', 'start;back\\slash;end;']
# Line 1 is accepted, line 2 stops at an unknown event, lines 3 and 4 end too early.
CHECKED = ['start;say "hi";end;', 'start;bogus;end;', 'start;café;', '']


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


def start_browser(profile):
    """Chromium with the network off, or None when it or its driver is missing."""
    if webdriver is None:
        return None
    browser = shutil.which('chromium') or shutil.which('chromium-browser')
    driver_path = shutil.which('chromedriver')
    if not browser or not driver_path:
        return None
    options = webdriver.ChromeOptions()
    options.binary_location = browser
    for flag in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                 '--disable-background-networking', '--disable-component-update', '--disable-sync',
                 '--window-size=1400,900', f'--user-data-dir={profile}'):
        options.add_argument(flag)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    driver = webdriver.Chrome(service=Service(driver_path), options=options)
    driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
        'width': 1600, 'height': 1000, 'deviceScaleFactor': 1, 'mobile': False})
    driver.execute_cdp_cmd('Network.enable', {})
    driver.execute_cdp_cmd('Network.emulateNetworkConditions', {
        'offline': True, 'latency': 0, 'downloadThroughput': -1, 'uploadThroughput': -1})
    return driver


def run(command):
    done = subprocess.run([str(c) for c in command], capture_output=True, text=True)
    expect(done.returncode in (0, 1), f'{command} failed ({done.returncode}): {done.stderr}')
    return done.stdout


def wait_ready(driver, timeout=60):
    end = time.monotonic() + timeout
    while driver.execute_script('return document.documentElement.dataset.ready') != '1':
        expect(time.monotonic() < end, f'the drawing was not ready within {timeout} s: ' +
               driver.execute_script("return document.getElementById('status')?.textContent"))
        time.sleep(0.02)


def open_view(driver, path, fragment=''):
    """Loads a view (at `fragment`) and returns its data and the seconds until it was drawn."""
    driver.get('about:blank')
    started = time.monotonic()
    driver.get(path.as_uri() + fragment)
    wait_ready(driver)
    seconds = time.monotonic() - started
    check_quiet(driver)
    return driver.execute_script("return JSON.parse(document.getElementById('logfsm-data').textContent)"), seconds


def check_quiet(driver):
    """No request besides the page itself, no error on the console (CSP included)."""
    requests = driver.execute_script("return performance.getEntriesByType('resource').map(e => e.name)")
    expect(not requests, f'the page made requests: {requests}')
    errors = [e['message'] for e in driver.get_log('browser') if e['level'] == 'SEVERE']
    expect(not errors, f'console errors: {errors}')


def set_fragment(driver, fragment):
    driver.execute_script('delete document.documentElement.dataset.ready; location.hash = arguments[0]', fragment)
    wait_ready(driver)


def state_text(state):
    """A state as the model file writes it: NAME(ID)."""
    return f"{state['name']}({state['id']})"


def ends(data, transition):
    """A transition's ends as state texts, and its count."""
    return (state_text(data['states'][transition['from']]), state_text(data['states'][transition['to']]),
            transition['traces'])


def visible(data, minimum):
    """What the drawing must hold at a minimum count: (states, transitions)."""
    shown = [ends(data, t) for t in data['transitions'] if t['traces'] >= minimum]
    states = {state_text(s) for s in data['states'] if minimum == 0 or s['initial']}
    states |= {t[0] for t in shown} | {t[1] for t in shown}
    return sorted(states), sorted(shown)


def drawn(driver, selector=''):
    states, transitions = driver.execute_script('''
        const s = [...document.querySelectorAll('g.node[data-state]' + arguments[0])].map(g => g.dataset.state);
        const t = [...document.querySelectorAll('g.edge[data-from]' + arguments[0])]
            .map(g => [g.dataset.from, g.dataset.to, Number(g.dataset.traces)]);
        return [s, t];''', selector)
    return sorted(states), sorted(tuple(t) for t in transitions)


def text(driver, element_id):
    return driver.find_element('id', element_id).text


def check_drawing(driver, data, minimum, label):
    states, transitions = visible(data, minimum)
    expect(drawn(driver) == (states, transitions), f'{label}: drawn {drawn(driver)}, expected {(states, transitions)}')
    shown = f'showing {len(transitions)} of {len(data["transitions"])} transitions'
    if minimum:
        shown += f' (used by at least {minimum} traces)'
    expect(text(driver, 'shown') == shown, f'{label}: count line {text(driver, "shown")!r}, expected {shown!r}')


def check_run(driver, data, line, explanation):
    """The highlighted run of trace `line` is the drawn part of its run; the
    explanation is shown."""
    run = data['runs'][data['traces'][line - 1]['run']]
    shown = set(drawn(driver)[1])
    expected = sorted(e for e in (ends(data, data['transitions'][i]) for i in run) if e in shown)
    hidden = len(run) - len(expected)
    if hidden:
        explanation += f" ({hidden} of the run's {len(run)} transitions are not drawn)"
    _, marked = drawn(driver, '.run')
    expect(marked == expected, f'line {line}: run {marked}, expected {expected}')
    expect(text(driver, 'explanation') == explanation,
           f'line {line}: explanation {text(driver, "explanation")!r}, expected {explanation!r}')


def check_learned(driver, page):
    """The view of the training log: drawings at two minimum counts, the summary,
    a selected state's panel and the run of an accepted trace."""
    data, _ = open_view(driver, page)
    expect(data['model'].endswith('small_out_2.json') and driver.title == data['model'],
           f'model {data["model"]!r}, title {driver.title!r}')
    expect(text(driver, 'summary') == f'accepted {len(TRAINING)} of {len(TRAINING)} traces',
           f'summary {text(driver, "summary")!r}')
    check_drawing(driver, data, 0, 'no minimum')
    set_fragment(driver, '#min=2')
    check_drawing(driver, data, 2, '#min=2')
    expect(visible(data, 2) != visible(data, 0), 'the training log should make #min=2 hide something')

    index, state = next((i, s) for i, s in enumerate(data['states']) if s['name'] == 'café')
    set_fragment(driver, '#min=0&state=' + urllib.parse.quote(state_text(state)))
    panel = text(driver, 'panel').lower()  # headings are shown in capitals
    for part in (state['name'], state_text(state), 'not accepting', 'not initial', f'used by {state["traces"]} traces',
                 f'incoming ({sum(t["to"] == index for t in data["transitions"])})',
                 f'outgoing ({sum(t["from"] == index for t in data["transitions"])})'):
        expect(part.lower() in panel, f'the panel of {state_text(state)} lacks {part!r}:\n{panel}')
    buttons = [b.text for b in driver.find_elements('css selector', '#panel .traces button')]
    expect(buttons == [str(n) for n in state['examples']], f'trace buttons {buttons}, examples {state["examples"]}')
    expect(drawn(driver, '.selected')[0] == [state_text(state)], 'the selected state is not marked')
    driver.find_elements('css selector', '#panel .traces button')[0].click()
    check_run(driver, data, state['examples'][0], f'line {state["examples"][0]}: accepted')
    expect('trace=' in driver.execute_script('return location.hash'), 'the fragment does not name the trace')


def check_checked(driver, page, check_report, screenshot):
    """The view of another log: rejected runs with check's explanation and
    where they stopped; the screenshot shows a state and a run."""
    data, _ = open_view(driver, page)
    rejected = len(CHECKED) - data['accepted']
    expect(text(driver, 'summary') == f'accepted {data["accepted"]} of {len(CHECKED)} traces' and rejected == 3,
           f'summary {text(driver, "summary")!r}')
    reports = {int(l.split(':')[0][5:]): l for l in check_report.splitlines() if l.startswith('line ')}
    box = driver.find_element('id', 'trace-line')
    for line in (2, 3, 4):
        box.clear()
        box.send_keys(str(line) + '\n')
        check_run(driver, data, line, reports[line])
    # Line 4 is empty: only the initial state is on its run, and it stops there.
    initial = next(i for i, s in enumerate(data['states']) if s['initial'])
    initial_text = state_text(data['states'][initial])
    expect(drawn(driver, '.stop')[0] == [initial_text] and drawn(driver, '.run')[0] == [initial_text],
           f'the empty trace: stop {drawn(driver, ".stop")[0]}, run {drawn(driver, ".run")[0]}')

    # Line 2 stops after "start" at "bogus": in the states "start" leads to.
    start = sorted({state_text(data['states'][t['to']]) for t in data['transitions']
                    if t['from'] == initial and t['track'] == 'start'})
    end = next(state_text(s) for s in data['states'] if s['name'] == 'end')
    set_fragment(driver, f'#min=0&state={urllib.parse.quote(end)}&trace=2')
    check_run(driver, data, 2, reports[2])
    expect(drawn(driver, '.stop')[0] == start, f'line 2 stopped in {drawn(driver, ".stop")[0]}, expected {start}')
    check_quiet(driver)
    driver.save_screenshot(str(screenshot))


def starting_min(counts):
    """The smallest minimum count that lets at most FIRST_SHOWN of `counts` through."""
    counts = sorted(counts, reverse=True)
    return 0 if len(counts) <= FIRST_SHOWN else counts[FIRST_SHOWN] + 1


def merged_counts(data):
    """A plain merge of the state view's runs: per pair of activities ('' for the
    initial state) the accepted traces whose run joins them, each trace once."""
    name = lambda s: '' if data['states'][s]['initial'] else data['states'][s]['name']
    counts = collections.Counter({(name(t['from']), name(t['to'])): 0 for t in data['transitions']})
    for trace in data['traces']:
        if trace['accepted']:
            counts.update({(name(data['transitions'][i]['from']), name(data['transitions'][i]['to']))
                           for i in data['runs'][trace['run']]})
    return counts


def drawn_activities(driver):
    nodes, edges = driver.execute_script('''
        return [[...document.querySelectorAll('g.node[data-activity]')].map(g => g.dataset.activity),
                [...document.querySelectorAll('g.edge[data-from-activity]')].map(g =>
                    [g.dataset.fromActivity, g.dataset.toActivity, Number(g.dataset.traces)])];''')
    return sorted(nodes), sorted(tuple(e) for e in edges)


def check_activities(driver, data):
    """The activity view, first as it opens, then whole: one node per event name
    used and the initial state, edge counts equal to a plain merge of the runs."""
    counts = merged_counts(data)
    set_fragment(driver, '#mode=activities')
    minimum = starting_min(counts.values())
    expect(minimum > 0 and driver.execute_script('return document.documentElement.dataset.mode') == 'activities',
           f'the activity view opened at minimum {minimum}')
    for fragment in (f'#mode=activities&min={minimum}', '#mode=activities&min=0'):
        set_fragment(driver, fragment)
        least = int(fragment.rsplit('=', 1)[1])
        edges = sorted((a, b, n) for (a, b), n in counts.items() if n >= least)
        nodes = {''} | {e[0] for e in edges} | {e[1] for e in edges}
        expect(drawn_activities(driver) == (sorted(nodes), edges), f'{fragment}: drawn {drawn_activities(driver)}')
    used = {s['name'] for s in data['states'] if not s['initial']}
    expect(drawn_activities(driver)[0] == sorted(used | {''}), 'not one node per event name')


def check_variants(driver, data):
    """Variants sum to the traces, most traces first; ticking two in the panel
    draws only their runs."""
    variants = data['variants']
    expect(sum(v['count'] for v in variants) == len(data['traces']) and
           sorted(line for v in variants for line in v['lines']) == list(range(1, len(data['traces']) + 1)) and
           variants == sorted(variants, key=lambda v: (-v['count'], v['lines'][0])),
           'the variants do not partition the traces by count')
    driver.find_element('id', 'variants-toggle').click()
    for box in driver.find_elements('css selector', '#variant-list input')[:2]:
        box.click()
        wait_ready(driver)
    runs = {i for v in variants[:2] for i in data['runs'][data['traces'][v['lines'][0] - 1]['run']]}
    expected = sorted(ends(data, data['transitions'][i]) for i in runs)
    expect(drawn(driver)[1] == expected and 'variants=1,2' in driver.execute_script('return location.hash'),
           f'the ticked variants drew {drawn(driver)[1]}, expected {expected}')


def check_export(driver, downloads):
    """The SVG export is a well-formed SVG holding the drawn nodes; the PNG export is a PNG."""
    drawn_nodes = driver.execute_script(
        "return [...document.querySelectorAll('g.node')].map(g => g.dataset.activity).sort()")
    for kind in ('svg', 'png'):
        driver.find_element('id', f'export-{kind}').click()
        files = []
        for _ in range(250):
            files = [f for f in downloads.glob(f'*.{kind}') if f.stat().st_size]
            if files:
                break
            time.sleep(0.02)
        expect(len(files) == 1, f'no {kind} was saved: {list(downloads.iterdir())}')
        if kind == 'png':
            expect(files[0].read_bytes().startswith(b'\x89PNG\r\n\x1a\n'), 'the PNG export is not a PNG')
            continue
        svg = ElementTree.parse(files[0]).getroot()
        nodes = sorted(g.get('data-activity') for g in svg.iter('{http://www.w3.org/2000/svg}g')
                       if g.get('class') == 'node')
        expect(nodes == drawn_nodes, f'the SVG export holds {nodes}, the drawing {drawn_nodes}')


def check_generated(driver, logfsm, work):
    """A generated log with several hundred transitions: the first view draws at
    most FIRST_SHOWN, legibly, in a direction the fragment can turn; then the
    activity view, the variants and the export."""
    chooser = random.Random(21)
    names = ['register', 'check', 'review', 'approve', 'reject', 'pay', 'notify', 'archive', 'escalate', 'close']
    lines = [';'.join(chooser.choice(names) for _ in range(chooser.randint(3, 9))) + ';' for _ in range(150)]
    (work / 'generated.txt').write_text('\n'.join(lines) + '\n')
    run([logfsm, '--no-render', '-q', '--html', work / 'generated.txt', 3])
    data, _ = open_view(driver, work / 'generated_out_3.html')
    minimum = starting_min([t['traces'] for t in data['transitions']])
    expect(len(data['transitions']) > 300 and minimum > 0, f'only {len(data["transitions"])} transitions')
    check_drawing(driver, data, minimum, 'the first view')
    heights = driver.execute_script(
        "return [...document.querySelectorAll('g.node text')].map(t => t.getBoundingClientRect().height)")
    expect(sorted(heights)[len(heights) // 2] >= 10, f'node text is {sorted(heights)[len(heights) // 2]} px high')
    for rankdir in ('TB', 'LR'):
        set_fragment(driver, f'#rankdir={rankdir}')
        expect(driver.execute_script('return document.documentElement.dataset.rankdir') == rankdir, rankdir)
    check_variants(driver, data)
    check_activities(driver, data)
    downloads = work / 'downloads'
    shutil.rmtree(downloads, ignore_errors=True)
    downloads.mkdir()
    driver.execute_cdp_cmd('Browser.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': str(downloads)})
    check_export(driver, downloads)
    check_quiet(driver)
    check_cases(driver, logfsm, work, lines)


def check_cases(driver, logfsm, work, lines):
    """The same traces as a CSV log with case ids: #case=ID and the case box
    select the trace of that case, and the explanation names it."""
    ids = [f'order-{(i * 37) % 151}' for i in range(len(lines))]
    rows = [f'{ids[i]},{event}' for i, line in enumerate(lines) for event in line.rstrip(';').split(';')]
    (work / 'cases.csv').write_text('case,activity\n' + '\n'.join(rows) + '\n')
    run([logfsm, 'view', '-q', work / 'generated_out_3.json', work / 'cases.csv', '-o', work / 'cases.html'])
    data, _ = open_view(driver, work / 'cases.html')
    expect(data['cases'] == ids, 'the data does not hold the case ids')
    set_fragment(driver, '#case=order-74')
    check_run(driver, data, 3, f'case order-74, {check_words(data, 3)}')
    box = driver.find_element('id', 'trace-line')
    box.clear()
    box.send_keys('order-111\n')
    check_run(driver, data, 4, f'case order-111, {check_words(data, 4)}')
    expect(driver.execute_script('return location.hash').endswith('case=order-111'), 'the fragment does not name the case')


def check_words(data, line):
    """What check says of trace `line`, as the page shows it without a case."""
    trace = data['traces'][line - 1]
    return f'line {line}: accepted' if trace['accepted'] else trace['explanation']


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--logfsm', required=True, type=pathlib.Path)
    parser.add_argument('--work', required=True, type=pathlib.Path)
    parser.add_argument('--screenshot', required=True, type=pathlib.Path)
    args = parser.parse_args()
    work = args.work.resolve()
    work.mkdir(parents=True, exist_ok=True)
    shutil.rmtree(work / 'chromium', ignore_errors=True)  # a fresh profile
    try:
        driver = start_browser(work / 'chromium')
    except WebDriverException as error:
        print(f'FAILED: cannot start chromium: {error}')
        return 1
    if driver is None:
        print('skipped: needs chromium, chromedriver and python3-selenium')
        return SKIPPED
    try:
        (work / 'small.txt').write_text('\n'.join(TRAINING) + '\n', encoding='utf-8')
        (work / 'small_check.txt').write_text('\n'.join(CHECKED) + '\n', encoding='utf-8')
        run([args.logfsm, '--no-render', '-q', '--html', work / 'small.txt', 2])
        check_learned(driver, work / 'small_out_2.html')
        model = work / 'small_out_2.json'
        run([args.logfsm, 'view', model, work / 'small_check.txt', '-o', work / 'checked.html'])
        check_checked(driver, work / 'checked.html', run([args.logfsm, 'check', model, work / 'small_check.txt']),
                      args.screenshot)
        check_generated(driver, args.logfsm, work)
    except (Failure, WebDriverException) as failure:
        print(f'FAILED: {failure}')
        return 1
    finally:
        driver.quit()
    print('all view checks passed')
    return 0


if __name__ == '__main__':
    sys.exit(main())
