#!/usr/bin/env python3
# check-policies.py ADMX ADML PROGRAM...: both templates are well-formed; the
# ADMX holds exactly ButtonMode (1, 2), AllowExit, AllowSettings,
# ToggleHotkey (0..4095), BounceMs (0..500) and the NormalPrograms list under
# the key the programs read, category Vantrel,
# machine and user; the ADML has every
# string and presentation it names; each program holds the names it reads.
import re
import sys
import xml.etree.ElementTree as ET

P = '{http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions}'
KEY = 'Software\\Policies\\Vantrel'
NAMES = ('ButtonMode', 'AllowExit', 'AllowSettings', 'ToggleHotkey', 'BounceMs')
admx_path, adml_path, *programs = filter(None, sys.argv[1:])
admx, adml = ET.parse(admx_path).getroot(), ET.parse(adml_path).getroot()
found = {(p.get('name'), p.get('key'), p.get('class'), p.find(P + 'parentCategory').get('ref'),
          p.get('valueName') or p.find(P + 'elements/*').get('valueName') or p.find(P + 'elements/*').get('key'))
         for p in admx.iter(P + 'policy')}
LIST_KEY = KEY + '\\NormalPrograms'
expected = {(n, KEY, 'Both', 'Vantrel', n) for n in NAMES}
failures = [f'policies {found}'] * (found != expected | {('NormalPrograms', KEY, 'Both', 'Vantrel', LIST_KEY)})
failures += ['ButtonMode values'] * ([d.get('value') for d in admx.iter(P + 'decimal')][:2] != ['1', '2'])
ranges = {(d.get('id'), d.get('minValue'), d.get('maxValue')) for d in admx.iter(P + 'decimal') if d.get('id')}
failures += [f'ranges {ranges}'] * (ranges != {('ToggleHotkey', '0', '4095'), ('BounceMs', '0', '500')})
ids = {(e.tag[len(P):], e.get('id')) for e in adml.iter() if e.get('id')}
failures += [f'{ref} missing from the ADML' for ref in re.findall(r'\$\((string|presentation)\.(\w+)\)',
             open(admx_path, encoding='utf-8').read()) if ref not in ids]
failures += [f'{p} does not read {t}' for p in programs for t in (KEY, *NAMES)
             if t.encode() + b'\0' not in open(p, 'rb').read()]
failures += [f'{p} does not read {LIST_KEY}' for p in programs
             if LIST_KEY.encode('utf-16-le') + b'\0\0' not in open(p, 'rb').read()]
print('\n'.join('FAIL: ' + f for f in failures) or 'all checks passed')
sys.exit(1 if failures else 0)
