#!/usr/bin/env python3
"""Outer join of the series grouping_bench writes, timed: the reference the alignment is held
against. Usage: pandas_align.py DATA TIMES. Prints the total seconds of TIMES joins."""
import sys
import time

import numpy as np
import pandas as pd


def read(path):
    series = []
    with open(path, "rb") as f:
        while True:
            head = f.read(8)
            if len(head) < 8:
                break
            n = int(np.frombuffer(head, dtype=np.int64)[0])
            times = np.frombuffer(f.read(8 * n), dtype=np.int64).copy()
            values = np.frombuffer(f.read(8 * n), dtype=np.float64).copy()
            index = pd.to_datetime(times, unit="ms")
            series.append(pd.Series(values, index=index, name=str(len(series))))
    return series


def main():
    series = read(sys.argv[1])
    times = int(sys.argv[2])
    start = time.perf_counter()
    for _ in range(times):
        joined = pd.concat(series, axis=1, join="outer", sort=True)
        if len(joined.columns) != len(series):
            sys.exit(1)
    print(time.perf_counter() - start)


if __name__ == "__main__":
    main()
