#!/usr/bin/env python3
"""Follows the virtual meter's log and prints what the meter shows after every refresh pass."""
import json
import sys
import time

FAN_MODES = {0: "off", 1: "manual", 2: "auto"}


def follow(path):
    with open(path, encoding="utf-8", errors="replace") as log:
        pending = ""
        while True:
            chunk = log.readline()
            if not chunk:
                time.sleep(0.1)
                continue
            pending += chunk
            if pending.endswith("\n"):
                yield pending
                pending = ""


def main():
    meter = {}
    for line in follow(sys.argv[1]):
        try:
            record = json.loads(line)
        except ValueError:
            continue
        if "temperature" in record and "packet" in record:
            meter["temperature"] = record["temperature"]
        elif "error" in record:
            print(f"  meter {record.get('index', '-')}: {record['error']}", flush=True)
        elif "present" in record:
            state = "plugged in" if record["present"] else "pulled out"
            print(f"  bridge {record['index']} {state}", flush=True)
        elif record.get("cmd") == 3:
            meter["value"] = record["value"]
        elif record.get("cmd") == 10:
            meter["thresholds"] = f"{record['low']}-{record['high']} C"
            meter["mode"] = FAN_MODES.get(record["fan_mode"], str(record["fan_mode"]))
        elif record.get("cmd") == 8:
            meter["backlight"] = "on" if record["backlight"] else "off"
        elif record.get("cmd") == 9:
            # The fan frame ends a pass: print the whole picture once.
            fan = record["fan"]
            fan_text = f"{fan}%" if meter.get("mode") == "manual" else str(fan)
            stamp = time.strftime("%H:%M:%S")
            print(
                f"{stamp}  meter {record['index']}: value {meter.get('value', '-'):>3}"
                f"  fan {meter.get('mode', '-')} {fan_text}"
                f" (thresholds {meter.get('thresholds', '-')})"
                f"  backlight {meter.get('backlight', '-')}"
                f"  temperature {meter.get('temperature', '-')} C",
                flush=True,
            )


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        pass
