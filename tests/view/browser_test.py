#!/usr/bin/env python3
"""Opens views written by logfsm in headless Chromium, offline, and checks
what they draw and show against the data embedded in them and against
`logfsm check`. Exit status: 0 passed, 1 failed, 77 no browser (skipped)."""

import argparse
import pathlib
import shutil
import subprocess
import sys
import time
import urllib.parse

try:
    from selenium import webdriver
    from selenium.common.exceptions import WebDriverException
    from selenium.webdriver.chrome.service import Service
except ImportError:
    webdriver = None
    WebDriverException = RuntimeError

SKIPPED = 77
# The published logs stand beside the repository, where the other tests find them.
BIG_LOG = (pathlib.Path(__file__).resolve().parents[3] / 'shared' / 'logs' / 'bench'
           / 'bpic2020_permit.txt')

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


def open_view(driver, path):
    """Loads a view and returns its data and the seconds until it was drawn."""
    started = time.monotonic()
    driver.get(path.as_uri())
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
    """The highlighted run of trace `line` is its run; the explanation is shown."""
    run = data['runs'][data['traces'][line - 1]['run']]
    expected = sorted(ends(data, data['transitions'][i]) for i in run)
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


def check_big(driver, logfsm, work):
    """A machine too big to draw whole: the first view and its filter (its time
    is printed; bench/view measures it)."""
    log = work / BIG_LOG.name
    shutil.copyfile(BIG_LOG, log)
    run([logfsm, '--no-render', '-q', '--html', log, 3])
    data, seconds = open_view(driver, work / 'bpic2020_permit_out_3.html')
    counts = sorted((t['traces'] for t in data['transitions']), reverse=True)
    expect(len(counts) > 400, f'{BIG_LOG.name} gave only {len(counts)} transitions')
    minimum = counts[400] + 1
    check_drawing(driver, data, minimum, 'the first view of a big machine')
    print(f'{BIG_LOG.name}, k = 3: {len(counts)} transitions, first view of '
          f'{len(visible(data, minimum)[1])} drawn in {seconds:.2f} s')


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
        if BIG_LOG.exists():
            check_big(driver, args.logfsm, work)
        else:
            print(f'{BIG_LOG} is missing: the big machine is not checked')
    except (Failure, WebDriverException) as failure:
        print(f'FAILED: {failure}')
        return 1
    finally:
        driver.quit()
    print('all view checks passed')
    return 0


if __name__ == '__main__':
    sys.exit(main())
