int afx_probe() { return 42; }
