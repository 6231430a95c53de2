"""The setup description schema accepts every sample description and the README's example, and
refuses the mistakes it exists to catch in an editor, each for its own reason.

usage: check_setup_schema.py SCHEMA README SAMPLE.json..."""
import copy
import json
import re
import sys

import jsonschema


def main() -> int:
    schema_file, readme, *samples = sys.argv[1:]
    schema = json.load(open(schema_file, encoding="utf-8"))
    jsonschema.Draft7Validator.check_schema(schema)
    validator = jsonschema.Draft7Validator(schema)
    failures = []

    example = re.search(r"## Setup description\s+```json\n(.*?)```", open(readme, encoding="utf-8").read(), re.S)
    descriptions = {"README example": json.loads(example.group(1))} if example else {}
    if not example:
        failures.append("the README has no example description")
    for sample in samples:
        descriptions[sample] = json.load(open(sample, encoding="utf-8"))
    if not samples:
        failures.append("no sample descriptions given")
    for name, description in descriptions.items():
        for error in validator.iter_errors(description):
            failures.append(f"{name}: {error.json_path}: {error.message}")

    # Mistakes, each made on a copy of a valid description: the schema must refuse every one, and
    # at the member that is wrong.
    base = descriptions[samples[0]] if samples else {}
    def package_with(change):
        description = copy.deepcopy(base)
        change(description["packages"][0])
        return description
    mistakes = {
        "both msi and file": (package_with(lambda p: p.update(file="x.zip", msi="x.msi")), "$.packages[0]"),
        "none of msi, cabinet, file": (package_with(lambda p: [p.pop(k, None) for k in ("msi", "cabinet", "file")]),
                                       "$.packages[0]"),
        "no productCode": (package_with(lambda p: p.pop("productCode")), "$.packages[0]"),
        "GUID without braces": (package_with(lambda p: p.update(packageCode=p["packageCode"].strip("{}"))),
                                "$.packages[0].packageCode"),
        "version with a letter": (package_with(lambda p: p.update(productVersion="2024.00.01a")),
                                  "$.packages[0].productVersion"),
        "unknown platform": (package_with(lambda p: p.update(productPlatform="x86")), "$.packages[0].productPlatform"),
        "misspelt member": (package_with(lambda p: p.update(productVerison="1.0")), "$.packages[0]"),
        "transform not named by an LCID": (package_with(lambda p: p.update(transforms={"german": "de.mst"})),
                                           "$.packages[0].transforms"),
        "os as a number": (dict(copy.deepcopy(base), os=6.1), "$.os"),
        "no packages": ({"os": "6.1.1"}, "$"),
    }
    for what, (description, where) in mistakes.items():
        paths = {error.json_path for error in validator.iter_errors(description)}
        if where not in paths:
            failures.append(f"{what}: not refused at {where} (errors at {sorted(paths) or 'nothing'})")

    for failure in failures:
        print(failure)
    print(f"{len(descriptions)} descriptions valid, {len(mistakes)} mistakes refused" if not failures else
          f"{len(failures)} schema check(s) failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
