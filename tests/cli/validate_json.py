#!/usr/bin/env python3
"""Checks a JSON document against a JSON Schema (draft 2020-12).

Usage: validate_json.py SCHEMA DOCUMENT   (DOCUMENT "-" reads standard input)
Exit status 0 when the document is valid, 1 when it is not or cannot be read.
"""
import glob
import json
import os
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


def sibling_schemas(path):
    """Every schema beside `path`, by its $id, so one may refer to another."""
    found = {}
    for name in glob.glob(os.path.join(os.path.dirname(os.path.abspath(path)), "*.schema.json")):
        contents = load(name)
        if "$id" in contents:
            found[contents["$id"]] = contents
    return found


def make_validator(validator_class, schema, siblings):
    checker = validator_class.FORMAT_CHECKER
    try:
        from referencing import Registry, Resource
    except ImportError:  # jsonschema before 4.18 resolves through a store
        resolver = jsonschema.RefResolver.from_schema(schema, store=siblings)
        return validator_class(schema, resolver=resolver, format_checker=checker)
    registry = Registry().with_resources(
        (uri, Resource.from_contents(contents)) for uri, contents in siblings.items())
    return validator_class(schema, registry=registry, format_checker=checker)


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__.strip())
    try:
        schema = load(argv[1])
        document = load(argv[2])
        siblings = sibling_schemas(argv[1])
    except (OSError, ValueError) as error:
        sys.exit(f"validate_json: {error}")
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = make_validator(validator_class, schema, siblings)
    errors = sorted(validator.iter_errors(document), key=lambda e: list(e.absolute_path))
    for error in errors:
        where = "/".join(str(part) for part in error.absolute_path) or "(top)"
        print(f"{argv[2]}: {where}: {error.message}", file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
