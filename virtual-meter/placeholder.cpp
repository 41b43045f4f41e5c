// replaced by the virtual meter
