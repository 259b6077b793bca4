#!/usr/bin/env python3
"""Checks a JSON document against a JSON Schema (draft 2020-12).

Usage: validate_json.py SCHEMA DOCUMENT   (DOCUMENT "-" reads standard input)
Exit status 0 when the document is valid, 1 when it is not or cannot be read.
"""
import json
import sys

try:
    import jsonschema
except ImportError:
    sys.exit("validate_json: the jsonschema module is missing (Debian: python3-jsonschema)")


def load(path):
    if path == "-":
        return json.load(sys.stdin)
    with open(path, encoding="utf-8") as stream:
        return json.load(stream)


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__.strip())
    try:
        schema = load(argv[1])
        document = load(argv[2])
    except (OSError, ValueError) as error:
        sys.exit(f"validate_json: {error}")
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema, format_checker=validator_class.FORMAT_CHECKER)
    errors = sorted(validator.iter_errors(document), key=lambda e: list(e.absolute_path))
    for error in errors:
        where = "/".join(str(part) for part in error.absolute_path) or "(top)"
        print(f"{argv[2]}: {where}: {error.message}", file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
