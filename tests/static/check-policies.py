#!/usr/bin/env python3
# Static checks of the Group Policy templates:
#   check-policies.py ADMX ADML PROGRAM...
# Both are well-formed XML; they describe exactly ButtonMode (1, 2) and
# AllowExit under Software\Policies\Vantrel, category Vantrel, for machine and
# user; every string and presentation the ADMX names is in the ADML; and each
# program file holds the key and value names it reads.
import re
import sys
import xml.etree.ElementTree as ET

NS = {'p': 'http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions'}
KEY = 'Software\\Policies\\Vantrel'
admx_path, adml_path, *programs = sys.argv[1:]
admx, adml = ET.parse(admx_path).getroot(), ET.parse(adml_path).getroot()
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


values = {}
for policy in admx.findall('.//p:policy', NS):
    name = policy.get('name')
    element = policy.find('p:elements/*', NS)
    values[name] = policy.get('valueName') or element.get('valueName')
    check((policy.get('key'), policy.get('class')) == (KEY, 'Both'), f'{name}: key or class')
    check(policy.find('p:parentCategory', NS).get('ref') == 'Vantrel', f'{name}: category')
check(values == {'ButtonMode': 'ButtonMode', 'AllowExit': 'AllowExit'}, f'policies {values}')
modes = [d.get('value') for d in admx.findall(".//p:enum[@valueName='ButtonMode']//p:decimal", NS)]
check(modes == ['1', '2'], f'ButtonMode values {modes}')
check([c.get('name') for c in admx.findall('.//p:category', NS)] == ['Vantrel'], 'categories')
resources = {kind: {e.get('id') for e in adml.iter('{%s}%s' % (NS['p'], kind))} for kind in ('string', 'presentation')}
for kind, ref in re.findall(r'\$\((string|presentation)\.(\w+)\)', open(admx_path, encoding='utf-8').read()):
    check(ref in resources[kind], f'{kind} {ref} missing from the ADML')
for program in programs:
    data = open(program, 'rb').read()
    for text in [KEY] + list(values.values()):
        check(text.encode() + b'\0' in data, f'{program} does not read {text}')
print('\n'.join('FAIL: ' + f for f in failures) or 'all checks passed')
sys.exit(1 if failures else 0)
